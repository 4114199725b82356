// Two-input composition in five modes.
#include <GL/gl.h>
#include <GL/glext.h>

#include "gl/gl_extensions.h"
#include "post/post.h"
#include "render/iRenderTarget.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"

namespace {
const char* comp_shader(int mode)
{
    switch (mode) {
    case COMP_OVER: return "blend_comp";
    case COMP_ADD: return "add_comp";
    case COMP_SCREEN: return "screen_comp";
    case COMP_DODGE: return "dodge_comp";
    case COMP_MODULATE: return "modulate_comp";
    default: return nullptr;
    }
}
}  // namespace

void comp(iRenderTarget* dst, iRenderTarget* a, iRenderTarget* b, int mode, float alpha)
{
    ensure_comp_shaders();
    cShaderManager_CG* sm = get_shader_manager();
    sm->push_shader();
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT);
    glDisable(GL_ALPHA_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_BLEND);
    begin_2d();
    b->bind_texture(GL_TEXTURE1_ARB);
    a->bind_texture(GL_TEXTURE0_ARB);
    if (const char* shader = comp_shader(mode))
        sm->bind(shader);
    glClearColor(0.f, 0.f, 0.f, 0.f);
    dst->bind(true);
    glColor4f(1.f, 1.f, 1.f, alpha);
    draw_quad_2tex(a, b);
    dst->unbind();
    end_2d();
    b->unbind_texture();
    a->unbind_texture();
    glPopAttrib();
    sm->pop_shader();
    check_gl_error("comp");
}
