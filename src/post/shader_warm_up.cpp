#include "post/shader_warm_up.h"

#include <GL/gl.h>

#include "post/post.h"
#include "render/cRenderTargetManager.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"

namespace {
// Each registered shader drawn once unblended and once blended over the
// bound target, reading a and b.
void draw_every_shader(cShaderManager_CG* sm, const iRenderTarget* a, const iRenderTarget* b)
{
    cPassState pass(cPassOptions().shaders(sm));
    for (const auto& entry : sm->shaders) {
        // Passes draw unblended, compositions and overlays blended.
        for (bool blend : {false, true}) {
            if (blend) {
                glEnable(GL_BLEND);
                glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            } else {
                glDisable(GL_BLEND);
            }
            sm->bind(entry.first);
            {
                cPassState quad(flat_2d());
                glColor4f(1.f, 1.f, 1.f, 1.f);
                draw_quad_2tex(a, b);
            }
            sm->unbind();
        }
    }
}
}  // namespace

void warm_up_shaders()
{
    ensure_post_shaders();
    ensure_comp_shaders();
    ensure_spill_shaders();
    cShaderManager_CG* sm = get_shader_manager();
    // Small targets from the pool as inputs and output: the code generated
    // depends on the kind of target and texture, not on their size.
    cTmpRT dst = get_flat_rt(RTT_QUATER);
    cTmpRT a = get_flat_rt(RTT_QUATER);
    cTmpRT b = get_flat_rt(RTT_QUATER);
    {
        cPassState saved(cPassOptions().save(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT));
        glClearColor(0.f, 0.f, 0.f, 0.f);
        cPassState into(cPassOptions().into(dst.get(), true));
        b->bind_texture(GL_TEXTURE1_ARB);
        a->bind_texture(GL_TEXTURE0_ARB);
        draw_every_shader(sm, a.get(), b.get());
        b->unbind_texture();
        a->unbind_texture();
    }
    glFinish();
}
