// libFuzzer harness: the show's command line (--from, --loop, --watch) read
// and placed against a marker script. The input is the arguments separated
// by NUL bytes; a first argument "@script" takes the next one as the marker
// script instead of the show's own. Bad arguments must end in a one-line
// reason, never in a crash or a place outside the show.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"

namespace {
const char* const SHOW_SCRIPT =
    "s00 00:00:00,000\nbeat 00:00:01,000\nsnare 00:00:12,500\ns01 00:00:10,000\ns03 00:00:25,500\n"
    "s05 00:00:38,000\nbwab2 00:00:27,500\nquit 00:01:33,000\n";

std::vector<std::string> split(const uint8_t* data, size_t size)
{
    std::vector<std::string> out(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            out.emplace_back();
        else
            out.back() += char(data[i]);
    }
    return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> args = split(data, size);
    std::string script = SHOW_SCRIPT;
    if (args.size() >= 2 && args[0] == "@script") {
        script = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    std::vector<const char*> argv{"morvane"};
    for (const std::string& a : args)
        argv.push_back(a.c_str());

    ShowOptions o;
    std::string error;
    if (!parse_show_options(int(argv.size()), argv.data(), o, error)) {
        if (error.empty() || error.find('\n') != std::string::npos)
            std::abort();  // the reason is one line
        return 0;
    }
    std::ostringstream warn;
    std::unique_ptr<cEventQueue> queue(cEventQueue_factory::parse(script.data(), script.size(), warn));
    ShowPlacement p;
    if (!place_show_options(*queue, o, p, error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    // What was accepted is a section that plays forwards.
    if (p.loop && p.loopEnd <= p.loopStart)
        std::abort();
    return 0;
}
