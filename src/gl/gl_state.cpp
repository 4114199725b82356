#include "gl/gl_state.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include "platform/WindowConfig.h"
#include "platform/cFrameStepTimeSource.h"
#include "platform/show_time_source.h"

void apply_render_viewport()
{
    Viewport v = window_config()->render_viewport();
    glViewport(v.x, v.y, v.width, v.height);
}

void swap_buffers()
{
    SDL_GL_SwapBuffers();
    if (cFrameStepTimeSource* s = frame_step_source())
        s->frame_presented();
}

void read_from_window_draw_buffer()
{
    GLint drawn = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &drawn);
    glReadBuffer(GLenum(drawn));
}
