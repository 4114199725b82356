// The show's entry point: asks about full screen, opens the window, brings
// GL into its default state, registers the exit hook, and hands over to the
// production. It never returns: the show ends through exit().
#include <GL/gl.h>
#include <SDL/SDL.h>

#include <cstdlib>

#include "app/WindowConfig.h"
#include "app/command_line.h"
#include "app/exit_hook.h"
#include "app/gl_extensions.h"
#include "app/gl_state.h"
#include "app/init_sdl.h"
#include "demo/cMorvane.h"
#include "platform/terminal_prompt.h"
#include "texture/cResourcePath.h"

int main(int argc, char** argv)
{
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

    const bool capture = capture_flag(argc, argv);

    cMorvane demo;
    demo.run(capture);
    demo.main_loop();
}
