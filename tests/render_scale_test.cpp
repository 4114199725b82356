// The render scale: pictures made smaller than the window, the pool re-made
// at the new size between frames, the final picture stretched over the
// whole render area, and effects sized in pixels keeping their reach.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gl/gl_state.h"
#include "platform/WindowConfig.h"
#include "post/post.h"
#include "render/cRenderTargetManager.h"
#include "render/quad.h"
#include "render/render_scale.h"
#include "support/shader_setup.h"

namespace {
using RenderScale = GLTest;

const Rgba BLACK{0, 0, 0, 255}, WHITE{255, 255, 255, 255}, RED{255, 0, 0, 255}, BLUE{0, 0, 255, 255};

bool every_idle_target_has_its_class_size(const cRenderTargetManager& pool)
{
    for (const auto& e : pool.pool()) {
        uint32_t w = 0, h = 0;
        cRenderTargetManager::target_size(e.first, w, h);
        if (e.second->width != w || e.second->height != h)
            return false;
    }
    return true;
}

// Columns of a target's middle row whose channel c is above zero.
std::vector<int> lit_columns(iRenderTarget* t, int c)
{
    const std::vector<Rgba> px = read_target(t);
    const int row = int(t->height) / 2;
    std::vector<int> cols;
    for (int x = 0; x < int(t->width); ++x) {
        const Rgba& p = px[size_t(row) * t->width + size_t(x)];
        if ((c == 0 ? p.r : c == 1 ? p.g : p.b) > 0)
            cols.push_back(x);
    }
    return cols;
}
}  // namespace

TEST_F(RenderScale, ThePoolIsRemadeAtTheNewSizeWithoutWarnings)
{
    cRenderTargetManager* pool = get_rendertarget_manager();
    cTmpRT lent = get_tmp_rt(RTT_FULL);
    testing::internal::CaptureStdout();
    EXPECT_TRUE(set_render_scale(0.5f));
    EXPECT_EQ(pool->pool_size(), 14u);
    EXPECT_TRUE(every_idle_target_has_its_class_size(*pool));
    uint32_t w = 0, h = 0;
    cRenderTargetManager::target_size(RTT_FULL, w, h);
    EXPECT_EQ(w, 640u);
    EXPECT_EQ(h, 360u);
    cRenderTargetManager::target_size(RTT_QUATER, w, h);
    EXPECT_EQ(w, 160u);
    EXPECT_EQ(h, 90u);
    // The target lent across the change comes back as one of the new size.
    EXPECT_EQ(lent->width, 1280u);
    lent.release();
    EXPECT_EQ(pool->pool_size(), 15u);
    EXPECT_TRUE(every_idle_target_has_its_class_size(*pool));
    {
        std::vector<cTmpRT> held;
        for (int i = 0; i < 2; ++i)
            held.push_back(get_tmp_rt(RTT_FULL));
        for (int i = 0; i < 5; ++i)
            held.push_back(get_flat_rt(RTT_FULL));
        EXPECT_EQ(held.back()->width, 640u);
        EXPECT_EQ(get_rtt_type(held.back().get()), RTT_FULL);
    }
    // The same size again is no change; back to full size is.
    EXPECT_FALSE(set_render_scale(0.5f));
    EXPECT_TRUE(set_render_scale(1.f));
    EXPECT_TRUE(every_idle_target_has_its_class_size(*pool));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(pool->created_at_runtime(), 0u);
    // Out of range asks are held to the range.
    set_render_scale(0.01f);
    EXPECT_EQ(window_config()->renderScale, MIN_RENDER_SCALE);
    set_render_scale(3.f);
    EXPECT_EQ(window_config()->renderScale, MAX_RENDER_SCALE);
}

TEST_F(RenderScale, AHalfSizePictureFillsTheWholeWindowFiltered)
{
    start_pass_shaders();
    set_render_scale(0.5f);
    cTmpRT picture = get_tmp_rt(RTT_FULL);
    ASSERT_EQ(picture->width, 640u);
    fill_target(picture.get(), RED);
    paint_rect(picture.get(), 320, 0, 640, 360, BLUE);

    apply_render_viewport();
    glClearColor(0.f, 0.f, 0.f, 1.f);
    glClear(GL_COLOR_BUFFER_BIT);
    draw_target(picture.get());
    glFinish();
    const WindowConfig* wc = window_config();
    const int W = wc->renderWidth, H = wc->renderHeight;
    EXPECT_TRUE(near_rgba(read_pixel(0, 0), RED, 1));
    EXPECT_TRUE(near_rgba(read_pixel(0, H - 1), RED, 1));
    EXPECT_TRUE(near_rgba(read_pixel(W - 1, 0), BLUE, 1));
    EXPECT_TRUE(near_rgba(read_pixel(W - 1, H - 1), BLUE, 1));
    EXPECT_TRUE(near_rgba(read_pixel(W / 2 - 3, H / 2), RED, 1));
    EXPECT_TRUE(near_rgba(read_pixel(W / 2 + 2, H / 2), BLUE, 1));
    // At the edge the two texels are mixed: the picture is filtered, not
    // repeated pixel by pixel.
    const Rgba edge = read_pixel(W / 2 - 1, H / 2);
    EXPECT_GT(edge.r, 20);
    EXPECT_GT(edge.b, 20);
}

TEST_F(RenderScale, EffectsSizedInPixelsReachAsFarOnScreenAtAnyScale)
{
    start_pass_shaders();
    // For each scale: a white column in the middle of a full-size picture,
    // blurred and shifted; the reach measured in pixels of the window.
    struct Reach {
        double blurWidth;  // columns lit by the blur
        double redShift;   // where the colour offset moved red to
    };
    auto measure = [](float scale) {
        set_render_scale(scale);
        const double k = double(window_config()->pixel_scale());
        cTmpRT src = get_tmp_rt(RTT_FULL), dst = get_tmp_rt(RTT_FULL);
        const int mid = int(src->width) / 2;
        fill_target(src.get(), BLACK);
        paint_rect(src.get(), mid, 0, mid + 1, int(src->height), WHITE);
        blur(src.get(), dst.get(), false);
        const std::vector<int> lit = lit_columns(dst.get(), 1);
        Reach r{};
        r.blurWidth = lit.empty() ? 0.0 : double(lit.back() - lit.front() + 1) / k;
        coloroffset_into(dst.get(), src.get(), 4.f);
        const std::vector<int> red = lit_columns(dst.get(), 0);
        r.redShift = red.empty() ? 0.0 : double(mid - red.front()) / k;
        return r;
    };
    const Reach full = measure(1.f);
    const Reach half = measure(0.5f);
    EXPECT_EQ(full.redShift, 8.0);
    EXPECT_NEAR(half.redShift, full.redShift, 2.0);
    EXPECT_GT(full.blurWidth, 6.0);
    EXPECT_NEAR(half.blurWidth, full.blurWidth, 4.0);
}
