// The single-input passes, levels and hue/saturation/brightness, with
// their "into" forms.
#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/WindowConfig.h"
#include "post/post.h"
#include "render/cRenderTargetManager.h"
#include "render/pass_profile.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/shader_value.h"

namespace {
// The passes' shader values, each found on its first use under a shader
// manager: setting one on every frame is a single call.
struct SineNoiseValues {
    explicit SineNoiseValues(const char* shader)
        : scales(shader, 1), curtime(shader, 2), phases(shader, 3), texheight(shader, 4), timescales(shader, 5),
          threshold(shader, 6)
    {
    }
    cShaderValueRef scales, curtime, phases, texheight, timescales, threshold;
};
SineNoiseValues g_sine("sinenoise_shader");
SineNoiseValues g_sineDodge("sinenoise_dodge_shader");
SineNoiseValues g_sineLevels("sinenoise_levels_shader");
cShaderValueRef g_sineLevelsLevels("sinenoise_levels_shader", 7);
cShaderValueRef g_radialBlur("radialblur_shader", 1);
cShaderValueRef g_scroll("scroll_shader", 1);
cShaderValueRef g_colorOffset("color_offset_shader", 1);
cShaderValueRef g_levels("levels_shader", 1);
cShaderValueRef g_hsb("hsb_shader", 1);
cShaderValueRef g_levelsHsbLevels("levels_hsb_shader", 1);
cShaderValueRef g_levelsHsbColour("levels_hsb_shader", 2);

// src through `shader` over the bound target; the parameters are sent
// before.
void single_input(iRenderTarget* src, const char* shader)
{
    cShaderManager_CG* sm = get_shader_manager();
    cPassState pass(flat_2d().off(GL_BLEND).shaders(sm));
    sm->bind(shader);
    src->bind_texture(GL_TEXTURE0_ARB);
    glColor4f(1.f, 1.f, 1.f, 1.f);
    draw_quad_rect(float(src->width), float(src->height));
    src->unbind_texture();
}
}  // namespace

namespace {
void send_sinenoise(SineNoiseValues& v, const cSineNoiseParams& p)
{
    // The waves' amplitudes and threshold are pixels of the full-scale
    // picture.
    const float k = window_config()->pixel_scale();
    const float scales[4] = {p.scales[0] * k, p.scales[1] * k, p.scales[2] * k, p.scales[3] * k};
    v.scales.set(scales);
    v.phases.set(p.phases);
    v.curtime.set(p.curtime);
    v.texheight.set(p.texheight);
    v.timescales.set(p.timescales);
    v.threshold.set(p.threshold * k);
}
}  // namespace

void sinenoise_pass(iRenderTarget* src, const cSineNoiseParams& p)
{
    ensure_post_shaders();
    send_sinenoise(g_sine, p);
    single_input(src, "sinenoise_shader");
}

void sinenoise_dodge_into(iRenderTarget* dst, iRenderTarget* src, iRenderTarget* rows, const cSineNoiseParams& p)
{
    ensure_post_shaders();
    send_sinenoise(g_sineDodge, p);
    cPassState pass(cPassOptions().into(dst));
    rows->bind_texture(GL_TEXTURE1_ARB);
    single_input(src, "sinenoise_dodge_shader");
    rows->unbind_texture();
}

void sinenoise_into(iRenderTarget* dst, iRenderTarget* src, const cSineNoiseParams& p)
{
    cPassState pass(cPassOptions().into(dst));
    sinenoise_pass(src, p);
}

void radialblur_pass(iRenderTarget* src, const cRadialBlurParams& p)
{
    ensure_post_shaders();
    // Centre and reach are pixels of the full-scale picture.
    const float k = window_config()->pixel_scale();
    const float six[6] = {p.center_x * k, p.center_y * k, p.dist * k, p.num_samples, p.propagation, p.multiplier};
    g_radialBlur.set(six);
    note_pass_samples(p.num_samples);
    single_input(src, "radialblur_shader");
}

cTmpRT radialblur_rays(iRenderTarget* src, const cRadialBlurParams& p)
{
    cTmpRT t = get_flat_rt(eRTT(p.size_class));
    blur(src, t.get(), true);
    cTmpRT rays = get_flat_rt(eRTT(p.size_class));
    {
        cPassState pass(cPassOptions().into(rays.get()));
        radialblur_pass(t.get(), p);
    }
    return rays;
}

void radialblur_into(iRenderTarget* dst, iRenderTarget* src, const cRadialBlurParams& p)
{
    const eRTT size = eRTT(p.size_class);
    uint32_t w = 0, h = 0;
    cRenderTargetManager::target_size(size, w, h);
    if (w >= dst->width) {
        cTmpRT t = get_flat_rt(size);
        blur(src, t.get(), true);
        cPassState pass(cPassOptions().into(dst));
        radialblur_pass(t.get(), p);
        return;
    }
    // Into a larger target, the rays are drawn at the blurred picture's own
    // size and magnified once: drawn into the larger target directly, every
    // one of its pixels would take all the samples.
    cTmpRT rays = radialblur_rays(src, p);
    cShaderManager_CG* sm = get_shader_manager();
    cPassState pass(cPassOptions().save(GL_ENABLE_BIT).off(GL_BLEND).shaders(sm).into(dst));
    sm->unbind();
    draw_target(rays.get());
}

void scroll_pass(iRenderTarget* src, const float values[4])
{
    ensure_post_shaders();
    // Scroll position and amplitude are pixels of the full-scale picture.
    const float k = window_config()->pixel_scale();
    const float scaled[4] = {values[0] * k, values[1] * k, values[2], values[3]};
    g_scroll.set(scaled);
    single_input(src, "scroll_shader");
}

void scroll_into(iRenderTarget* dst, iRenderTarget* src, const float values[4])
{
    cPassState pass(cPassOptions().into(dst));
    scroll_pass(src, values);
}

void invert_pass(iRenderTarget* src)
{
    ensure_post_shaders();
    single_input(src, "invert_shader");
}

void invert_into(iRenderTarget* dst, iRenderTarget* src)
{
    cPassState pass(cPassOptions().into(dst));
    invert_pass(src);
}

void coloroffset_pass(iRenderTarget* src, float value)
{
    ensure_post_shaders();
    g_colorOffset.set(value * window_config()->pixel_scale());
    single_input(src, "color_offset_shader");
}

void coloroffset_into(iRenderTarget* dst, iRenderTarget* src, float value)
{
    cPassState pass(cPassOptions().into(dst));
    coloroffset_pass(src, value);
}

void levels_pass(iRenderTarget* src, const cLevelsParams& p)
{
    ensure_post_shaders();
    // The quads' set-up but for alpha test and fog, which stay as found.
    cShaderManager_CG* sm = get_shader_manager();
    cPassState pass(cPassOptions()
                        .save(GL_CURRENT_BIT | GL_ENABLE_BIT)
                        .off({GL_LIGHTING, GL_BLEND, GL_DEPTH_TEST})
                        .no_depth_writes()
                        .unit_square_on_model_view()
                        .shaders(sm));
    glColor4f(1.f, 1.f, 1.f, 1.f);
    const float five[5] = {p.in_black, p.in_white, p.gamma, p.out_black, p.out_white};
    g_levels.set(five);
    sm->bind("levels_shader");
    src->bind_texture(GL_TEXTURE0_ARB);
    draw_quad_rect(float(src->width), float(src->height));
    src->unbind_texture();
}

void levels_into(iRenderTarget* dst, iRenderTarget* src, const cLevelsParams& p)
{
    glClearColor(0.f, 0.f, 0.f, 0.f);
    cPassState pass(cPassOptions().into(dst));
    levels_pass(src, p);
}

void hsb_pass(iRenderTarget* src, const cHSBParams& p)
{
    ensure_post_shaders();
    cShaderManager_CG* sm = get_shader_manager();
    cPassState pass(cPassOptions().save(GL_ENABLE_BIT).off(GL_BLEND).shaders(sm));
    const float three[3] = {p.hue, p.saturation, p.brightness};
    g_hsb.set(three);
    sm->bind("hsb_shader");
    draw_target(src);
}

void hsb_into(iRenderTarget* dst, iRenderTarget* src, const cHSBParams& p)
{
    cPassState pass(cPassOptions().into(dst));
    hsb_pass(src, p);
}

void levels_hsb_into(iRenderTarget* dst, iRenderTarget* src, const cLevelsParams& l, const cHSBParams& h)
{
    ensure_post_shaders();
    const char* s = "levels_hsb_shader";
    const float five[5] = {l.in_black, l.in_white, l.gamma, l.out_black, l.out_white};
    const float three[3] = {h.hue, h.saturation, h.brightness};
    g_levelsHsbLevels.set(five);
    g_levelsHsbColour.set(three);
    cPassState pass(cPassOptions().into(dst));
    single_input(src, s);
}

void sinenoise_levels_into(iRenderTarget* dst, iRenderTarget* src, const cSineNoiseParams& p, const cLevelsParams& l)
{
    ensure_post_shaders();
    const char* s = "sinenoise_levels_shader";
    send_sinenoise(g_sineLevels, p);
    const float five[5] = {l.in_black, l.in_white, l.gamma, l.out_black, l.out_white};
    g_sineLevelsLevels.set(five);
    cPassState pass(cPassOptions().into(dst));
    single_input(src, s);
}
