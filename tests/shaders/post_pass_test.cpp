// The image passes on known pictures, read back from their targets, and
// the GL state each leaves behind, read from GL.
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "gl/gl_extensions.h"
#include "post/post.h"
#include "render/cRenderTargetManager.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/scene_shaders.h"
#include "support/shader_setup.h"

namespace {
class PassTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        sm = start_pass_shaders();
    }
    cShaderManager_CG* sm = nullptr;
};

Rgba at(const std::vector<Rgba>& pixels, const iRenderTarget* t, int x, int y)
{
    return pixels[size_t(y) * t->width + size_t(x)];
}

int clamp255(double v)
{
    return int(std::lround(std::min(255.0, std::max(0.0, v))));
}
}  // namespace

TEST_F(PassTest, InvertGivesTheComplement)
{
    cTmpRT src = get_tmp_rt(RTT_QUATER), dst = get_tmp_rt(RTT_QUATER);
    fill_target(src.get(), {10, 100, 200, 255});
    paint_rect(src.get(), 0, 0, 40, 40, {0, 255, 77, 255});
    invert_into(dst.get(), src.get());
    auto px = read_target(dst.get());
    EXPECT_TRUE(near_rgba(at(px, dst.get(), 100, 100), {245, 155, 55, 255}, 1));
    EXPECT_TRUE(near_rgba(at(px, dst.get(), 10, 10), {255, 0, 178, 255}, 1));
}

TEST_F(PassTest, LevelsFollowsItsFormula)
{
    cTmpRT src = get_tmp_rt(RTT_QUATER), dst = get_tmp_rt(RTT_QUATER);
    // Sixteen columns of 20 pixels, grey levels 0, 17, ..., 255.
    for (int i = 0; i < 16; ++i)
        paint_rect(src.get(), i * 20, 0, i * 20 + 20, int(src->height), {i * 17, i * 17, i * 17, 255});
    const cLevelsParams p{30.f, 220.f, 1.7f, 20.f, 240.f};
    levels_into(dst.get(), src.get(), p);
    auto px = read_target(dst.get());
    for (int i = 0; i < 16; ++i) {
        const double in = std::min(std::max(double(i * 17), 30.0), 220.0);
        const double want = 20.0 + (240.0 - 20.0) * std::pow((in - 30.0) / (220.0 - 30.0), 1.0 / 1.7);
        const int w = clamp255(want);
        EXPECT_TRUE(near_rgba(at(px, dst.get(), i * 20 + 10, 50), {w, w, w, 255}, 1)) << "level " << i * 17;
    }
}

TEST_F(PassTest, EachCompositionModeFollowsItsFormula)
{
    cTmpRT a = get_tmp_rt(RTT_QUATER), b = get_tmp_rt(RTT_QUATER), dst = get_tmp_rt(RTT_QUATER);
    const double A[4] = {200, 50, 100, 128}, B[4] = {40, 160, 220, 255};
    fill_target(a.get(), {200, 50, 100, 128});
    fill_target(b.get(), {40, 160, 220, 255});
    const float weight = 0.6f;
    struct Mode {
        int mode;
        std::function<double(double, double)> f;
    };
    const Mode modes[] = {
        {COMP_OVER, [](double x, double) { return x; }},
        {COMP_ADD, [](double x, double y) { return x + y; }},
        {COMP_SCREEN, [](double x, double y) { return 1 - (1 - x) * (1 - y); }},
        {COMP_DODGE, [](double x, double y) { return x >= 1 ? 1 : std::min(y / (1 - x), 1.0); }},
        {COMP_MODULATE, [](double x, double y) { return x * y; }},
    };
    for (const Mode& m : modes) {
        comp(dst.get(), a.get(), b.get(), m.mode, weight);
        auto px = read_target(dst.get());
        const double k = weight * A[3] / 255.0;
        int want[4];
        for (int c = 0; c < 3; ++c) {
            const double x = A[c] / 255.0, y = B[c] / 255.0;
            const double f = m.f(x, y);  // add may pass 1; the result is clamped
            want[c] = clamp255(255.0 * (y + k * (f - y)));
        }
        want[3] = clamp255(255.0 * (k + B[3] / 255.0 * (1 - k)));
        EXPECT_TRUE(near_rgba(at(px, dst.get(), 50, 50), {want[0], want[1], want[2], want[3]}, 2)) << "mode " << m.mode;
    }
}

TEST_F(PassTest, BlurKeepsFlatFlatAndSpreadsAPointSymmetrically)
{
    cTmpRT src = get_tmp_rt(RTT_QUATER), dst = get_tmp_rt(RTT_QUATER);
    fill_target(src.get(), {120, 60, 200, 255});
    blur(src.get(), dst.get(), true);
    auto flat = read_target(dst.get());
    for (const Rgba& p : flat)
        ASSERT_TRUE(near_rgba(p, {120, 60, 200, 255}, 1));

    fill_target(src.get(), {0, 0, 0, 255});
    const int cx = 160, cy = 90;
    paint_rect(src.get(), cx, cy, cx + 1, cy + 1, {255, 255, 255, 255});
    blur(src.get(), dst.get(), false);
    auto px = read_target(dst.get());
    const int centre = at(px, dst.get(), cx, cy).r;
    EXPECT_GT(centre, 0);
    EXPECT_LT(centre, 255);
    for (int d = 1; d <= 4; ++d) {
        const int right = at(px, dst.get(), cx + d, cy).r, left = at(px, dst.get(), cx - d, cy).r;
        const int up = at(px, dst.get(), cx, cy + d).r, down = at(px, dst.get(), cx, cy - d).r;
        EXPECT_NEAR(right, left, 1) << d;
        EXPECT_NEAR(up, down, 1) << d;
        EXPECT_NEAR(right, up, 1) << d;
        EXPECT_LE(right, centre);
    }
    EXPECT_GT(at(px, dst.get(), cx + 2, cy).r, 0);
    EXPECT_EQ(at(px, dst.get(), cx + 10, cy).r, 0);
    // src and dst the same target: the first pass reads src into the
    // temporary, the second writes it back.
    blur(dst.get(), dst.get(), false);
    auto twice = read_target(dst.get());
    EXPECT_LT(at(twice, dst.get(), cx, cy).r, centre);
    EXPECT_NEAR(at(twice, dst.get(), cx + 3, cy).r, at(twice, dst.get(), cx - 3, cy).r, 1);
}

TEST_F(PassTest, BlurBorrowsOneTemporaryOfTheTargetsClass)
{
    cRenderTargetManager* pool = get_rendertarget_manager();
    cTmpRT src = get_tmp_rt(RTT_HALF), dst = get_tmp_rt(RTT_HALF);
    const unsigned before = pool->in_use();
    const unsigned created = pool->created_at_runtime();
    blur(src.get(), dst.get(), true);
    EXPECT_EQ(pool->in_use(), before);
    EXPECT_EQ(pool->created_at_runtime(), created);
}

TEST_F(PassTest, RadialBlurStreaksAwayFromItsCentre)
{
    cTmpRT src = get_tmp_rt(RTT_QUATER), dst = get_tmp_rt(RTT_QUATER);
    fill_target(src.get(), {0, 0, 0, 255});
    // A bright square to the right of the centre (160, 90).
    paint_rect(src.get(), 215, 85, 225, 95, {255, 255, 255, 255});
    const cRadialBlurParams p{160.f, 90.f, 60.f, 25.f, 1.f, 0.85f, RTT_QUATER};
    radialblur_into(dst.get(), src.get(), p);
    auto px = read_target(dst.get());
    const int outward = at(px, dst.get(), 240, 90).r;   // beyond the square, away from the centre
    const int inward = at(px, dst.get(), 200, 90).r;    // between the centre and the square
    const int aside = at(px, dst.get(), 220, 130).r;    // off the ray
    EXPECT_GT(outward, 8);
    EXPECT_GT(outward, inward + 8);
    EXPECT_LE(aside, 2);
    EXPECT_GT(at(px, dst.get(), 220, 90).r, outward);
}

TEST_F(PassTest, GlowAddsNothingWhereNothingRisesAboveTheThreshold)
{
    cTmpRT src = get_tmp_rt(RTT_QUATER), dst = get_tmp_rt(RTT_QUATER), glow = get_tmp_rt(RTT_QUATER);
    fill_target(src.get(), {100, 150, 60, 255});
    paint_rect(src.get(), 100, 50, 140, 90, {190, 30, 199, 255});
    const cGlowParams p{RTT_QUATER, 200.f, 128.f};
    glow_into(glow.get(), src.get(), p);
    for (const Rgba& g : read_target(glow.get()))
        ASSERT_TRUE(near_rgba({g.r, g.g, g.b, 0}, {0, 0, 0, 0}, 0));
    spill_glow_into(dst.get(), src.get(), p);
    auto before = read_target(src.get());
    auto after = read_target(dst.get());
    for (size_t i = 0; i < after.size(); ++i)
        ASSERT_TRUE(near_rgba(after[i], before[i], 1)) << i;

    // A bright patch does glow: its light spreads beyond its edges.
    paint_rect(src.get(), 150, 80, 170, 100, {255, 255, 255, 255});
    spill_glow_into(dst.get(), src.get(), p);
    auto lit = read_target(dst.get());
    EXPECT_GT(at(lit, dst.get(), 173, 90).r, at(before, src.get(), 173, 90).r + 10);
}

TEST_F(PassTest, HsbRotatesHueAndShiftsBrightness)
{
    cTmpRT src = get_tmp_rt(RTT_QUATER), dst = get_tmp_rt(RTT_QUATER);
    fill_target(src.get(), {200, 60, 40, 255});
    hsb_into(dst.get(), src.get(), {0.f, 0.f, 0.f});
    EXPECT_TRUE(near_rgba(read_target(dst.get())[0], {200, 60, 40, 255}, 2));
    hsb_into(dst.get(), src.get(), {0.f, -100.f, 0.f});  // no saturation: grey of the same luma
    const Rgba grey = read_target(dst.get())[0];
    const int luma = clamp255(0.299 * 200 + 0.587 * 60 + 0.114 * 40);
    EXPECT_TRUE(near_rgba(grey, {luma, luma, luma, 255}, 2));
    hsb_into(dst.get(), src.get(), {120.f, 0.f, 0.f});  // red turns toward another primary
    const Rgba turned = read_target(dst.get())[0];
    EXPECT_LT(turned.r, turned.g + turned.b);
    hsb_into(dst.get(), src.get(), {0.f, 0.f, 10.f});
    const Rgba brighter = read_target(dst.get())[0];
    EXPECT_NEAR(brighter.r - 200, 25, 2);
    EXPECT_NEAR(brighter.g - 60, 25, 2);
}

TEST_F(PassTest, EveryPassLeavesTheGLStateAsItFoundIt)
{
    cTmpRT a = get_tmp_rt(RTT_QUATER), b = get_tmp_rt(RTT_QUATER), dst = get_tmp_rt(RTT_QUATER);
    fill_target(a.get(), {90, 90, 90, 255});
    fill_target(b.get(), {30, 30, 30, 255});
    testing::internal::CaptureStderr();
    register_shader<cShdRGBAtex>("rgba_shader");
    testing::internal::GetCapturedStderr();

    const float four[4] = {3, 2, 0, 0};
    cSineNoiseParams noise{{1, 2, 3, 4}, {0.1f, 0.2f, 0.3f, 0.4f}, 1.f, 180.f, {1, 1, 1, 1}, 0.f, RTT_QUATER};
    const std::pair<const char*, std::function<void()>> passes[] = {
        {"sinenoise_pass", [&] { sinenoise_pass(a.get(), noise); }},
        {"sinenoise_into", [&] { sinenoise_into(dst.get(), a.get(), noise); }},
        {"radialblur_pass", [&] { radialblur_pass(a.get(), {160, 90, 50, 10, 1, 0.85f, RTT_QUATER}); }},
        {"radialblur_into", [&] { radialblur_into(dst.get(), a.get(), {160, 90, 50, 10, 1, 0.85f, RTT_QUATER}); }},
        {"levels_pass", [&] { levels_pass(a.get(), {0, 255, 1, 0, 255}); }},
        {"levels_into", [&] { levels_into(dst.get(), a.get(), {0, 255, 1, 0, 255}); }},
        {"hsb_pass", [&] { hsb_pass(a.get(), {10, 10, 10}); }},
        {"hsb_into", [&] { hsb_into(dst.get(), a.get(), {10, 10, 10}); }},
        {"scroll_pass", [&] { scroll_pass(a.get(), four); }},
        {"scroll_into", [&] { scroll_into(dst.get(), a.get(), four); }},
        {"invert_pass", [&] { invert_pass(a.get()); }},
        {"invert_into", [&] { invert_into(dst.get(), a.get()); }},
        {"coloroffset_pass", [&] { coloroffset_pass(a.get(), 2.f); }},
        {"coloroffset_into", [&] { coloroffset_into(dst.get(), a.get(), 2.f); }},
        {"blur", [&] { blur(a.get(), dst.get(), true); }},
        {"comp", [&] { comp(dst.get(), a.get(), b.get(), COMP_SCREEN, 0.5f); }},
        {"comp mode 2", [&] { comp(dst.get(), a.get(), b.get(), 2, 0.5f); }},
        {"glow_into", [&] { glow_into(dst.get(), a.get(), {RTT_QUATER, 50, 200}); }},
        {"spill_pass", [&] { spill_pass(a.get(), b.get()); }},
        {"spill_into", [&] { spill_into(dst.get(), a.get(), b.get()); }},
        {"spill_glow_into", [&] { spill_glow_into(dst.get(), a.get(), {RTT_QUATER, 50, 200}); }},
        {"comp_layers", [&] { comp_layers(dst.get(), {{a.get(), COMP_OVER, 1.f}, {b.get(), COMP_ADD, 0.5f}}); }},
        {"comp_layers_spill", [&] { comp_layers_spill({{a.get(), COMP_OVER, 1.f}}, b.get()); }},
        {"comp_layers_spill without a glow", [&] { comp_layers_spill({{a.get(), COMP_OVER, 1.f}}, nullptr); }},
        {"comp_rows", [&] { comp_rows(dst.get(), a.get(), b.get(), COMP_DODGE, 1.f); }},
        {"horz_smear_comp", [&] { horz_smear_comp(dst.get(), a.get(), b.get(), COMP_DODGE, 1.f); }},
        {"horz_smear_dodge_sinenoise_into", [&] { horz_smear_dodge_sinenoise_into(dst.get(), a.get(), noise); }},
        {"sinenoise_levels_into", [&] { sinenoise_levels_into(dst.get(), a.get(), noise, {0, 255, 1, 0, 255}); }},
        {"levels_hsb_into", [&] { levels_hsb_into(dst.get(), a.get(), {0, 255, 1, 0, 255}, {10, 10, 10}); }},
        {"radialblur_rays", [&] { radialblur_rays(a.get(), {160, 90, 50, 10, 1, 0.85f, RTT_QUATER}); }},
    };
    // A caller's state far from the defaults: a shader bound, a 3-D camera,
    // depth writes and tests on, blending and lighting on, unit 1 textured.
    for (bool withShader : {true, false}) {
        if (withShader)
            sm->bind("rgba_shader");
        else
            sm->unbind();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-1, 1, -1, 1, 1, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0.5f, 0.25f, -3.f);
        glDepthMask(GL_TRUE);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glEnable(GL_LIGHTING);
        ext::glActiveTextureARB(GL_TEXTURE1_ARB);
        glEnable(GL_TEXTURE_2D);
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
        for (const auto& pass : passes) {
            const GLStateSnapshot before = snapshot_gl_state();
            pass.second();
            const GLStateSnapshot after = snapshot_gl_state();
            EXPECT_TRUE(after == before) << pass.first << (withShader ? " (shader bound)" : " (unbound)")
                                         << "\nbefore: " << before.describe() << "\nafter:  " << after.describe();
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << pass.first;
        }
        ext::glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
        glDisable(GL_LIGHTING);
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    sm->unbind();
    EXPECT_TRUE(sm->shader_stack.empty());

    // comp and the levels-based forms leave the clear colour at zero.
    glClearColor(0.3f, 0.3f, 0.3f, 1.f);
    comp(dst.get(), a.get(), b.get(), COMP_OVER, 1.f);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0] + clear[1] + clear[2] + clear[3], 0.f);
}

TEST_F(PassTest, ScrollShiftsEachRowByATravellingSineAndWrapsTheWholeWidth)
{
    // A half-size picture (640x360 at the show's size) of 32 columns, each
    // 20 pixels wide with its own red level, and a green level per band of
    // rows, scrolled the way the mandala cube scrolls it.
    cTmpRT src = get_tmp_rt(RTT_HALF), dst = get_tmp_rt(RTT_HALF);
    const int W = int(src->width), H = int(src->height);
    for (int i = 0; i < W / 20; ++i)
        for (int j = 0; j < 4; ++j)
            paint_rect(src.get(), i * 20, j * H / 4, i * 20 + 20, (j + 1) * H / 4, {i * 8, 40 + j * 60, 0, 255});
    auto column = [&](const std::vector<Rgba>& px, int x, int y) { return at(px, dst.get(), x, y).r / 8; };
    const int rows[3] = {0, H / 4, H * 3 / 4};

    // Phase 0: no shift at the bottom, 40 pixels right at a quarter of the
    // height, 40 left at three quarters; every column, also those past the
    // height, wraps around the width; rows keep their green.
    const float still[4] = {0.f, 40.f, float(H), 0.f};
    scroll_into(dst.get(), src.get(), still);
    auto px = read_target(dst.get());
    const int shift[3] = {0, 40, -40};
    for (int r = 0; r < 3; ++r)
        for (int x = 10; x < W; x += 20) {
            EXPECT_EQ(column(px, x, rows[r]), ((x - shift[r] + W) % W) / 20) << "x " << x << " row " << rows[r];
            EXPECT_EQ(at(px, dst.get(), x, rows[r]).g, 40 + (rows[r] * 4 / H) * 60) << "x " << x;
        }

    // The first value moves the wave: a quarter period on (H pi / 2) puts
    // the full shift at the bottom row and none at a quarter.
    const float moved[4] = {float(H) * 3.14159265f / 2.f, 40.f, float(H), 0.f};
    scroll_into(dst.get(), src.get(), moved);
    px = read_target(dst.get());
    for (int x = 10; x < W; x += 20) {
        EXPECT_EQ(column(px, x, 0), ((x - 40 + W) % W) / 20) << "x " << x;
        EXPECT_EQ(column(px, x, H / 4), x / 20) << "x " << x;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
