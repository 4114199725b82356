#include "user_paths.h"

#include <sstream>

namespace {
bool is_path_option(const UserPaths& p, const std::string& arg)
{
    std::istringstream in(p.options);
    std::string option;
    while (in >> option)
        if (option == arg)
            return true;
    return false;
}
}  // namespace

bool rewrite_user_paths(const WenditCommand& command, const RunPlace& place, Args& args, std::string& error)
{
    if (!place.installed)
        return true;
    const UserPaths& p = command.paths;
    bool optionGiven = false, positionalGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (is_path_option(p, args[i]) && i + 1 < args.size()) {
            optionGiven = true;
            ++i;
            args[i] = place.user_path(args[i]);
        } else if (p.positionalFrom >= 0 && int(i) >= p.positionalFrom && !args[i].empty() && args[i][0] != '-') {
            positionalGiven = true;
            args[i] = place.user_path(args[i]);
        }
    }
    if (p.installed == UserPaths::eInstalled::refused && !optionGiven) {
        error = std::string("wendit ") + command.name + ": the installed tree " + place.data_dir() +
                " is not written to; name a directory of your own (" + command.usage + ")";
        return false;
    }
    if (p.installed == UserPaths::eInstalled::installed_data && !positionalGiven)
        args.push_back(place.data_dir());
    if (!optionGiven) {
        const std::string output = p.defaultOutput ? p.defaultOutput(args) : std::string(p.output ? p.output : "");
        if (!output.empty()) {
            args.push_back("-o");
            args.push_back(place.user_path(output));
        }
    }
    return true;
}
