// The single-input passes, levels and hue/saturation/brightness, with
// their "into" forms.
#include <GL/gl.h>
#include <GL/glext.h>

#include "platform/WindowConfig.h"
#include "post/post.h"
#include "post/post_state.h"
#include "render/cRenderTargetManager.h"
#include "render/pass_profile.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/shader_value.h"

void push_unit_square()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
}

void pop_unit_square()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

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
    cDepthMaskGuard mask;
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT);
    glDisable(GL_BLEND);
    cShaderManager_CG* sm = get_shader_manager();
    sm->push_shader();
    sm->bind(shader);
    src->bind_texture(GL_TEXTURE0_ARB);
    begin_2d();
    glColor4f(1.f, 1.f, 1.f, 1.f);
    draw_quad_rect(float(src->width), float(src->height));
    end_2d();
    src->unbind_texture();
    sm->pop_shader();
    glPopAttrib();
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
    dst->bind(false);
    rows->bind_texture(GL_TEXTURE1_ARB);
    single_input(src, "sinenoise_dodge_shader");
    rows->unbind_texture();
    dst->unbind();
}

void sinenoise_into(iRenderTarget* dst, iRenderTarget* src, const cSineNoiseParams& p)
{
    dst->bind(false);
    sinenoise_pass(src, p);
    dst->unbind();
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
    rays->bind(false);
    radialblur_pass(t.get(), p);
    rays->unbind();
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
        dst->bind(false);
        radialblur_pass(t.get(), p);
        dst->unbind();
        return;
    }
    // Into a larger target, the rays are drawn at the blurred picture's own
    // size and magnified once: drawn into the larger target directly, every
    // one of its pixels would take all the samples.
    cTmpRT rays = radialblur_rays(src, p);
    cShaderManager_CG* sm = get_shader_manager();
    sm->push_shader();
    sm->unbind();
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);
    dst->bind(false);
    draw_target(rays.get());
    dst->unbind();
    glPopAttrib();
    sm->pop_shader();
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
    dst->bind(false);
    scroll_pass(src, values);
    dst->unbind();
}

void invert_pass(iRenderTarget* src)
{
    ensure_post_shaders();
    single_input(src, "invert_shader");
}

void invert_into(iRenderTarget* dst, iRenderTarget* src)
{
    dst->bind(false);
    invert_pass(src);
    dst->unbind();
}

void coloroffset_pass(iRenderTarget* src, float value)
{
    ensure_post_shaders();
    g_colorOffset.set(value * window_config()->pixel_scale());
    single_input(src, "color_offset_shader");
}

void coloroffset_into(iRenderTarget* dst, iRenderTarget* src, float value)
{
    dst->bind(false);
    coloroffset_pass(src, value);
    dst->unbind();
}

void levels_pass(iRenderTarget* src, const cLevelsParams& p)
{
    ensure_post_shaders();
    cDepthMaskGuard mask;
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT);
    glDepthMask(GL_FALSE);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1.f, 1.f, 1.f, 1.f);
    push_unit_square();
    cShaderManager_CG* sm = get_shader_manager();
    sm->push_shader();
    const float five[5] = {p.in_black, p.in_white, p.gamma, p.out_black, p.out_white};
    g_levels.set(five);
    sm->bind("levels_shader");
    src->bind_texture(GL_TEXTURE0_ARB);
    draw_quad_rect(float(src->width), float(src->height));
    src->unbind_texture();
    sm->pop_shader();
    pop_unit_square();
    glPopAttrib();
}

void levels_into(iRenderTarget* dst, iRenderTarget* src, const cLevelsParams& p)
{
    glClearColor(0.f, 0.f, 0.f, 0.f);
    dst->bind(false);
    levels_pass(src, p);
    dst->unbind();
}

void hsb_pass(iRenderTarget* src, const cHSBParams& p)
{
    ensure_post_shaders();
    cShaderManager_CG* sm = get_shader_manager();
    sm->push_shader();
    const float three[3] = {p.hue, p.saturation, p.brightness};
    g_hsb.set(three);
    sm->bind("hsb_shader");
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_BLEND);
    draw_target(src);
    glPopAttrib();
    sm->pop_shader();
}

void hsb_into(iRenderTarget* dst, iRenderTarget* src, const cHSBParams& p)
{
    dst->bind(false);
    hsb_pass(src, p);
    dst->unbind();
}

void levels_hsb_into(iRenderTarget* dst, iRenderTarget* src, const cLevelsParams& l, const cHSBParams& h)
{
    ensure_post_shaders();
    const char* s = "levels_hsb_shader";
    const float five[5] = {l.in_black, l.in_white, l.gamma, l.out_black, l.out_white};
    const float three[3] = {h.hue, h.saturation, h.brightness};
    g_levelsHsbLevels.set(five);
    g_levelsHsbColour.set(three);
    dst->bind(false);
    single_input(src, s);
    dst->unbind();
}

void sinenoise_levels_into(iRenderTarget* dst, iRenderTarget* src, const cSineNoiseParams& p, const cLevelsParams& l)
{
    ensure_post_shaders();
    const char* s = "sinenoise_levels_shader";
    send_sinenoise(g_sineLevels, p);
    const float five[5] = {l.in_black, l.in_white, l.gamma, l.out_black, l.out_white};
    g_sineLevelsLevels.set(five);
    dst->bind(false);
    single_input(src, s);
    dst->unbind();
}
