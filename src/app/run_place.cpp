#include "app/run_place.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/executable_path.h"
#include "texture/cResourcePath.h"

namespace {
// From the programs' directory to their tree, as the install rules lay it out.
const char* const TREE_FROM_PROGRAMS = "/../share/games/morvane";

bool is_directory(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
}  // namespace

std::string RunPlace::user_path(const std::string& path) const
{
    if (!installed || path.empty() || path[0] == '/')
        return path;
    // Joined, not normalised: "link/../x" goes where the system takes it.
    return userDir + "/" + path;
}

std::string installed_tree_for(const std::string& exePath)
{
    const size_t slash = exePath.rfind('/');
    if (exePath.empty() || exePath[0] != '/' || slash == std::string::npos)
        return "";
    bool ok = true;
    const std::string tree = canonical_path(exePath.substr(0, slash) + TREE_FROM_PROGRAMS, ok);
    return ok && is_directory(tree) ? tree : "";
}

bool enter_run_place(RunPlace& place, std::string& error)
{
    place.userDir = working_directory();
    place.treeDir = installed_tree_for(executable_path());
    place.installed = !place.treeDir.empty();
    if (!place.installed)
        return true;
    if (place.userDir.empty()) {
        error = std::string("cannot read the working directory: ") + std::strerror(errno);
        return false;
    }
    const std::string data = place.data_dir();
    if (::chdir(data.c_str()) != 0) {
        error = "the installed data tree " + data + " cannot be entered: " + std::strerror(errno) +
                " (reinstall the package)";
        return false;
    }
    return true;
}
