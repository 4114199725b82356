// The show's entry point: asks about full screen, opens the window, brings
// GL into its default state, registers the exit hook, and hands over to the
// production. It never returns: the show ends through exit().
#include <GL/gl.h>
#include <SDL/SDL.h>

#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/command_line.h"
#include "app/exit_hook.h"
#include "app/init_gl.h"
#include "app/init_sdl.h"
#include "demo/cMorvane.h"
#include "gl/gl_extensions.h"
#include "gl/gl_state.h"
#include "platform/WindowConfig.h"
#include "platform/terminal_prompt.h"
#include "runtime/cSceneManager.h"
#include "texture/cResourcePath.h"
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
    if (o.from.empty() && o.loopStart.empty())
        return p;
    std::unique_ptr<cEventQueue> script(cEventQueue_factory::loadFile(cSceneManager::MARKER_SCRIPT_PATH));
    if (!script)
        usage_error(std::string("cannot read the marker script ") + cSceneManager::MARKER_SCRIPT_PATH);
    std::string error;
    if (!place_show_options(*script, o, p, error))
        usage_error(error);
    return p;
}
}  // namespace

int main(int argc, char** argv)
{
    ShowOptions options;
    std::string error;
    if (!parse_show_options(argc, argv, options, error))
        usage_error(error);
    const ShowPlacement placement = place_options(options);

    if (ask_yes_no("Fullscreen madness?", "madness?"))
        window_config()->videoFlags |= WindowConfig::FULLSCREEN_BIT;

    init_sdl(*window_config());

    // A neutral grey while loading, rather than whatever the window held.
    glClearColor(0.15f, 0.15f, 0.15f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    swap_buffers();

    register_exit_hook();

    init_gl();
    init_gl_state();
    setup_resource_paths();
    check_gl_error("SDL_main");

    cMorvane demo;
    demo.run(options.capture);
    demo.tune(placement, options.watch);
    demo.main_loop();
}
