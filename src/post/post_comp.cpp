// Two-input composition in five modes, and any number of layers composed
// in one pass.
#include <GL/gl.h>
#include <GL/glext.h>

#include <utility>

#include "gl/gl_extensions.h"
#include "post/post.h"
#include "render/cRenderTargetManager.h"
#include "render/iRenderTarget.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/shader_value.h"

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

namespace {
// a onto b into dst in `mode`, a's coordinates spanning aw x ah.
void comp_spanning(iRenderTarget* dst, iRenderTarget* a, float aw, float ah, iRenderTarget* b, int mode, float alpha)
{
    ensure_comp_shaders();
    {
        cShaderManager_CG* sm = get_shader_manager();
        cPassState pass(flat_2d().off(GL_BLEND).shaders(sm));
        // The colour mask is not among the saved groups: the composition
        // leaves every channel writable.
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        b->bind_texture(GL_TEXTURE1_ARB);
        a->bind_texture(GL_TEXTURE0_ARB);
        if (const char* shader = comp_shader(mode))
            sm->bind(shader);
        glClearColor(0.f, 0.f, 0.f, 0.f);
        {
            cPassState into(cPassOptions().into(dst));
            glColor4f(1.f, 1.f, 1.f, alpha);
            const float w[2] = {aw, float(b->width)}, h[2] = {ah, float(b->height)};
            draw_quad_spans(w, h, 2);
        }
        b->unbind_texture();
        a->unbind_texture();
    }
    check_gl_error("comp");
}
}  // namespace

void comp(iRenderTarget* dst, iRenderTarget* a, iRenderTarget* b, int mode, float alpha)
{
    comp_spanning(dst, a, float(a->width), float(a->height), b, mode, alpha);
}

void comp_rows(iRenderTarget* dst, iRenderTarget* rows, iRenderTarget* b, int mode, float alpha)
{
    comp_spanning(dst, rows, 1.f, float(rows->height), b, mode, alpha);
}

namespace {
const char* const LAYER_SHADERS[4] = {"layers1_comp", "layers2_comp", "layers3_comp", "layers4_comp"};
// The unit the layered programs read the glow from.
constexpr int GLOW_UNIT = 4;

bool layered_mode(int mode)
{
    return comp_shader(mode) != nullptr;
}

// Each layered program's values, found on their first use.
struct LayerValues {
    explicit LayerValues(const char* shader) : modes(shader, 1), opacity(shader, 2), spill(shader, 3) {}
    cShaderValueRef modes, opacity, spill;
};
LayerValues g_layerValues[4] = {LayerValues(LAYER_SHADERS[0]), LayerValues(LAYER_SHADERS[1]),
                                LayerValues(LAYER_SHADERS[2]), LayerValues(LAYER_SHADERS[3])};

// Up to four pictures through one layered program into dst (the bound
// target when dst is null); the first may be the picture so far (mode -1).
// A glow, when given, is added to the result as the spill adds it.
void compose_units(iRenderTarget* dst, const iRenderTarget* const* units, const float* modes, const float* opacity,
                   int count, iRenderTarget* glow)
{
    const char* shader = LAYER_SHADERS[count - 1];
    cShaderManager_CG* sm = get_shader_manager();
    LayerValues& values = g_layerValues[count - 1];
    values.modes.set(modes);
    values.opacity.set(opacity);
    values.spill.set(glow ? 1.f : 0.f);
    // Without a glow the first picture stands in on the glow's unit, added
    // nowhere: the renderer then runs the same code with or without one.
    iRenderTarget* added = glow ? glow : const_cast<iRenderTarget*>(units[0]);
    float w[5] = {0.f, 0.f, 0.f, 0.f, 0.f}, h[5] = {0.f, 0.f, 0.f, 0.f, 0.f};
    added->bind_texture(GL_TEXTURE0_ARB + GLenum(GLOW_UNIT));
    w[GLOW_UNIT] = float(added->width);
    h[GLOW_UNIT] = float(added->height);
    for (int i = count - 1; i >= 0; --i) {
        const_cast<iRenderTarget*>(units[i])->bind_texture(GL_TEXTURE0_ARB + GLenum(i));
        w[i] = float(units[i]->width);
        h[i] = float(units[i]->height);
    }
    sm->bind(shader);
    {
        // No target: over the one bound now.
        cPassState into(cPassOptions().into(dst));
        glColor4f(1.f, 1.f, 1.f, 1.f);
        draw_quad_spans(w, h, GLOW_UNIT + 1);
    }
    for (int i = 0; i < count; ++i)
        const_cast<iRenderTarget*>(units[i])->unbind_texture();
    if (glow) {
        glow->unbind_texture();
    } else {
        // The stand-in is bound twice; its own record is of unit 0 only.
        ext::glActiveTextureARB(GL_TEXTURE0_ARB + GLenum(GLOW_UNIT));
        glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 0);
        glDisable(GL_TEXTURE_RECTANGLE_ARB);
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    }
}

// A mode the layered programs do not know: one comp a layer, as comp
// draws it, through two temporaries; the last goes into dst.
void comp_layers_chained(iRenderTarget* dst, const std::vector<cCompLayer>& layers)
{
    cTmpRT a = get_flat_rt(RTT_FULL);
    cTmpRT b = get_flat_rt(RTT_FULL);
    glClearColor(0.f, 0.f, 0.f, 0.f);
    {
        cPassState clear(cPassOptions().into(b.get(), true));
    }
    for (size_t i = 0; i < layers.size(); ++i) {
        iRenderTarget* to = i + 1 == layers.size() ? dst : a.get();
        comp(to, layers[i].picture, b.get(), layers[i].mode, layers[i].opacity);
        std::swap(a, b);
    }
}

// The layers through the layered programs, four a round, into dst (over
// the bound target when dst is null).
void compose_in_rounds(iRenderTarget* dst, const std::vector<cCompLayer>& layers, iRenderTarget* glow)
{
    // Four layers a pass; a fifth and more go on from the picture so far,
    // kept in one of two temporaries while the next is written.
    cTmpRT spare[2];
    const iRenderTarget* under = nullptr;
    size_t next = 0;
    for (int round = 0; next < layers.size(); ++round) {
        const iRenderTarget* units[4];
        float modes[4] = {0.f, 0.f, 0.f, 0.f}, opacity[4] = {0.f, 0.f, 0.f, 0.f};
        int count = 0;
        if (under) {
            units[0] = under;
            modes[0] = -1.f;
            opacity[0] = 1.f;
            count = 1;
        }
        for (; count < 4 && next < layers.size(); ++count, ++next) {
            units[count] = layers[next].picture;
            modes[count] = float(layers[next].mode);
            opacity[count] = layers[next].opacity;
        }
        const bool last = next == layers.size();
        iRenderTarget* to = dst;
        if (!last) {
            cTmpRT& t = spare[round % 2];
            // The picture so far at the size it is drawn at: the window's
            // is the full class, a target's its own.
            if (!t)
                t = get_flat_rt(dst && get_rtt_type(dst) != RTT_NONE ? get_rtt_type(dst) : RTT_FULL);
            to = t.get();
        }
        compose_units(to, units, modes, opacity, count, last ? glow : nullptr);
        under = to;
    }
}

// The layers into dst, or over the bound target with the glow added when
// dst is null.
void compose(iRenderTarget* dst, const std::vector<cCompLayer>& layers, iRenderTarget* glow)
{
    bool layered = !layers.empty();
    for (const cCompLayer& l : layers)
        layered = layered && layered_mode(l.mode);
    if (!layered) {
        cTmpRT whole;
        iRenderTarget* to = dst;
        if (!to) {
            whole = get_flat_rt(RTT_FULL);
            to = whole.get();
        }
        if (layers.empty()) {
            glClearColor(0.f, 0.f, 0.f, 0.f);
            cPassState clear(cPassOptions().into(to, true));
        } else {
            comp_layers_chained(to, layers);
        }
        if (!dst && glow)
            spill_pass(to, glow);
        else if (!dst)
            draw_target(to);
        return;
    }
    ensure_comp_shaders();
    {
        cPassState pass(flat_2d().save(GL_COLOR_BUFFER_BIT).off(GL_BLEND).shaders(get_shader_manager()));
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        compose_in_rounds(dst, layers, glow);
    }
    check_gl_error("comp_layers");
}
}  // namespace

void comp_layers(iRenderTarget* dst, const std::vector<cCompLayer>& layers)
{
    compose(dst, layers, nullptr);
}

void comp_layers_spill(const std::vector<cCompLayer>& layers, iRenderTarget* glow)
{
    compose(nullptr, layers, glow);
}
