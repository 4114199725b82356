// The separable blur, the glow built from levels and blur, and the spill
// addition of a glow.
#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/WindowConfig.h"
#include "post/post.h"
#include "render/cRenderTargetManager.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/shader_value.h"

namespace {
// The size class whose width matches dst's: the first of 1, 2, 4, 8 with
// render width / dst width - k < 0.01. A target wider than the render area
// counts as full size; one narrower than an eighth takes an eighth.
eRTT blur_class(const iRenderTarget* dst)
{
    const double q = double(window_config()->scaled_render_width()) / double(dst->width);
    for (int k : {1, 2, 4, 8})
        if (q - k < 0.01)
            return eRTT(k);
    return RTT_EIGHTH;
}

// One step of the blur is a pixel of the full-scale picture: at a smaller
// render scale it spans less of a texel, and the blur reaches as far.
cShaderValueRef g_alphaBlurDirection("alpha_blur_shader", 1);
cShaderValueRef g_noAlphaBlurDirection("no_alpha_blur_shader", 1);

void set_direction(cShaderValueRef& direction, float x, float y)
{
    const float k = window_config()->pixel_scale();
    const float dir[2] = {x * k, y * k};
    direction.set(dir);
}
}  // namespace

void blur(iRenderTarget* src, iRenderTarget* dst, bool with_alpha)
{
    ensure_post_shaders();
    // The quads' set-up but for fog, which stays as found.
    cShaderManager_CG* sm = get_shader_manager();
    cPassState pass(cPassOptions()
                        .save(GL_CURRENT_BIT | GL_ENABLE_BIT)
                        .off({GL_DEPTH_TEST, GL_ALPHA_TEST, GL_LIGHTING, GL_BLEND})
                        .no_depth_writes()
                        .unit_square_on_model_view()
                        .shaders(sm));
    glColor4f(1.f, 1.f, 1.f, 1.f);

    cTmpRT t = get_flat_rt(blur_class(dst));
    const char* s = with_alpha ? "alpha_blur_shader" : "no_alpha_blur_shader";
    cShaderValueRef& direction = with_alpha ? g_alphaBlurDirection : g_noAlphaBlurDirection;

    {
        cPassState into(cPassOptions().into(t.get()));
        src->bind_texture(GL_TEXTURE0_ARB);
        set_direction(direction, 0.f, 1.f);
        sm->bind(s);
        draw_quad_rect(float(src->width), float(src->height));
    }
    src->unbind_texture();
    {
        cPassState into(cPassOptions().into(dst));
        t->bind_texture(GL_TEXTURE0_ARB);
        set_direction(direction, 1.f, 0.f);
        sm->bind(s);
        draw_quad_rect(float(t->width), float(t->height));
    }
    t->unbind_texture();
}

void glow_into(iRenderTarget* dst, iRenderTarget* src, const cGlowParams& p)
{
    cTmpRT t = get_flat_rt(eRTT(p.size_class));
    const cLevelsParams above{p.threshold_low, 255.f, 1.f, 0.f, 255.f};
    glClearColor(0.f, 0.f, 0.f, 0.f);
    {
        cPassState into(cPassOptions().into(t.get()));
        levels_pass(src, above);
    }
    for (int i = 0; i < 3; ++i)
        blur(t.get(), t.get(), false);
    const cLevelsParams stretch{0.f, p.threshold_high, 1.f, 0.f, 255.f};
    glClearColor(0.f, 0.f, 0.f, 0.f);
    cPassState into(cPassOptions().into(dst));
    levels_pass(t.get(), stretch);
}

void spill_pass(iRenderTarget* a, iRenderTarget* b)
{
    ensure_spill_shaders();
    cShaderManager_CG* sm = get_shader_manager();
    cPassState pass(flat_2d().off(GL_BLEND).shaders(sm));
    a->bind_texture(GL_TEXTURE0_ARB);
    b->bind_texture(GL_TEXTURE1_ARB);
    sm->bind("spill_shader");
    glColor4f(1.f, 1.f, 1.f, 1.f);
    draw_quad_2tex(a, b);
    b->unbind_texture();
    a->unbind_texture();
}

void spill_into(iRenderTarget* dst, iRenderTarget* a, iRenderTarget* b)
{
    cPassState pass(cPassOptions().into(dst));
    spill_pass(a, b);
}

void spill_glow_into(iRenderTarget* dst, iRenderTarget* src, const cGlowParams& p)
{
    cPassState pass(cPassOptions().shaders(get_shader_manager()));
    cTmpRT t = get_flat_rt(eRTT(p.size_class));
    glow_into(t.get(), src, p);
    cPassState into(cPassOptions().into(dst));
    spill_pass(src, t.get());
}
