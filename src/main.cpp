// The show's entry point: asks about full screen, starts the engine (window,
// loading grey, exit hook, GL in its default state), and hands over to the
// production. It never returns: the show ends through exit().
#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/engine_start.h"
#include "app/run_place.h"
#include "demo/cMorvane.h"
#include "platform/WindowConfig.h"
#include "platform/executable_path.h"
#include "platform/show_time_source.h"
#include "platform/terminal_prompt.h"
#include "runtime/cSceneManager.h"
#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"

namespace {
// Bad tuning options end the program before anything opens, with code 2.
[[noreturn]] void usage_error(const std::string& what)
{
    std::cerr << "morvane: " << what << std::endl;
    std::exit(2);
}

// The places the options name, checked against the marker script.
ShowPlacement place_options(const ShowOptions& o)
{
    ShowPlacement p;
    p.avOffsetMs = o.avOffsetMs;
    if (o.from.empty() && o.loopStart.empty())
        return p;
    // Its warnings are the show's to give, once, when it loads the script.
    std::ostringstream quiet;
    std::unique_ptr<cEventQueue> script(cEventQueue_factory::loadFile(cSceneManager::MARKER_SCRIPT_PATH, quiet));
    if (!script)
        usage_error(std::string("cannot read the marker script ") + cSceneManager::MARKER_SCRIPT_PATH);
    std::string error;
    if (!place_show_options(*script, o, p, error))
        usage_error(error);
    return p;
}

// An installed show started with no display records itself instead, as
// ./play.sh does in the source tree: the developer tool beside it captures
// the range the options name (--from, or one pass of --loop; the whole
// show by default) to morvane.mp4 in the user's directory.
[[noreturn]] void record_instead(const RunPlace& place, const ShowOptions& o)
{
    const std::string video = place.user_path("morvane.mp4");
    std::vector<std::string> args = {"capture", "-o", video};
    const std::string& from = o.from.empty() ? o.loopStart : o.from;
    if (!from.empty())
        args.insert(args.end(), {"--from", from});
    if (!o.loopEnd.empty())
        args.insert(args.end(), {"--to", o.loopEnd});
    std::cout << "# there is no display (DISPLAY is unset): capturing the show to " << video << " instead"
              << std::endl;
    const std::string exe = executable_path();
    const std::string tool = exe.substr(0, exe.rfind('/') + 1) + "wendit";
    std::string error;
    const int code = run_program(tool, args, error);
    if (code < 0) {
        std::cerr << "morvane: cannot record the show: " << error << std::endl;
        std::exit(1);
    }
    if (code == 0)
        std::cout << "# the show is in " << video << std::endl;
    std::exit(code);
}
}  // namespace

int main(int argc, char** argv)
{
    ShowOptions options;
    std::string error;
    if (!parse_show_options(argc, argv, options, error))
        usage_error(error);
    RunPlace place;
    if (!enter_run_place(place, error)) {
        std::cerr << "morvane: " << error << std::endl;
        return 1;
    }
    // Nothing under the installed tree changes while the show plays, and
    // nothing may be written there: tuning is for a source tree.
    if (place.installed && options.watch)
        usage_error("--watch reloads the sources of a source tree; this show is installed (" + place.treeDir +
                    ") and its files do not change: run bin/morvane --watch in a checkout to tune it");
    const ShowPlacement placement = place_options(options);
    const char* display = std::getenv("DISPLAY");
    if (place.installed && (!display || !*display))
        record_instead(place, options);

    if (ask_yes_no("Fullscreen madness?", "madness?"))
        window_config()->videoFlags |= WindowConfig::FULLSCREEN_BIT;

    // The pool fills itself at the size the pictures are made at.
    if (options.scale > 0.f && !frame_step_source())
        window_config()->renderScale = options.scale;

    EngineStart start;
    start.loadingGrey = true;
    start_engine(start, error);

    cMorvane demo;
    demo.run(options.capture);
    demo.tune(placement, options.watch);
    demo.choose_render_scale(options.scale, options.fpsTarget);
    demo.main_loop();
}
