#include "app/init_gl.h"

#include <GL/gl.h>

#include "gl/gl_extensions.h"
#include "gl/gl_state.h"
#include "render/cRenderTargetManager.h"
#include "runtime/cSceneManager.h"

void init_gl()
{
    init_extensions();
    get_rendertarget_manager()->demo_time = [] { return cSceneManager::get()->demo_time(); };
    glClearColor(0.f, 0.f, 0.f, 0.f);
    apply_render_viewport();
    check_gl_error("init_gl");
}
