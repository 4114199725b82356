#include "gl/gl_state.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include "platform/WindowConfig.h"

namespace {
SwapListener g_swapListener = nullptr;
}  // namespace

void apply_render_viewport()
{
    Viewport v = window_config()->render_viewport();
    glViewport(v.x, v.y, v.width, v.height);
}

void swap_buffers()
{
    SDL_GL_SwapBuffers();
    if (g_swapListener)
        g_swapListener();
}

void set_swap_listener(SwapListener listener)
{
    g_swapListener = listener;
}

void read_from_window_draw_buffer()
{
    GLint drawn = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &drawn);
    glReadBuffer(GLenum(drawn));
}
