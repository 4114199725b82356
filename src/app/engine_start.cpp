#include "app/engine_start.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <cstdlib>

#include "app/exit_hook.h"
#include "app/init_gl.h"
#include "app/init_sdl.h"
#include "gl/gl_extensions.h"
#include "gl/gl_state.h"
#include "platform/WindowConfig.h"
#include "platform/cFrameStepTimeSource.h"
#include "platform/show_time_source.h"
#include "shaders/cShaderManager_CG.h"
#include "texture/cResourcePath.h"

void step_show_clock_on_swap()
{
    set_swap_listener([] {
        if (cFrameStepTimeSource* s = frame_step_source())
            s->frame_presented();
    });
}

bool start_engine(const EngineStart& options, std::string& error)
{
    step_show_clock_on_swap();
    WindowConfig* wc = window_config();
    if (options.width > 0 && options.height > 0) {
        wc->width = wc->renderWidth = options.width;
        wc->height = wc->renderHeight = options.height;
    }
    // Asked first, so that a program that can go on without a window hears
    // why there is none instead of init_sdl ending the process. The video
    // driver is the one init_sdl asks for: left to itself, SDL starts a
    // text-console driver where no X server answers, and the failure would
    // come later, as init_sdl's fatal "didn't get screen".
    if (options.returnWhenNoWindow) {
        setenv("SDL_VIDEODRIVER", "x11", 0);
        if (SDL_Init(SDL_INIT_VIDEO) < 0) {
            error = std::string("no window can be opened: ") + SDL_GetError();
            return false;
        }
    }
    init_sdl(*wc);
    if (options.caption)
        SDL_WM_SetCaption(options.caption, nullptr);

    if (options.loadingGrey) {
        glClearColor(0.15f, 0.15f, 0.15f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        swap_buffers();
    }

    if (options.exitHook)
        register_exit_hook();

    init_gl();
    init_gl_state();
    if (options.resourcePaths) {
        setup_resource_paths();
        // The shaders are found on those paths.
        get_shader_manager()->init_cg();
    }
    check_gl_error("SDL_main");
    return true;
}
