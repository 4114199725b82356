// The render-target pool, observed through its own counters, its exit
// statistics and the pixels in its targets.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "gl/gl_extensions.h"
#include "platform/WindowConfig.h"
#include "render/cRenderTargetManager.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "support/gl_fixture.h"

namespace {
class RenderTargetPool : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        pool = get_rendertarget_manager();
        pool->demo_time = [] { return 1234; };
    }
    cRenderTargetManager* pool = nullptr;
};

bool starts_with(const std::string& s, const std::string& p)
{
    return s.compare(0, p.size(), p) == 0;
}
}  // namespace

TEST_F(RenderTargetPool, StartsWithFifteenIdleTargetsSmallestFirst)
{
    EXPECT_EQ(pool->pool_size(), 15u);
    EXPECT_EQ(pool->in_use(), 0u);
    EXPECT_EQ(pool->max_in_use(), 15u);
    std::vector<eRTT> order;
    for (const auto& e : pool->pool())
        order.push_back(e.first);
    std::vector<eRTT> want(3, RTT_QUATER);
    want.insert(want.end(), 5, RTT_HALF);
    want.insert(want.end(), 7, RTT_FULL);
    EXPECT_EQ(order, want);
    for (const auto& e : pool->pool()) {
        uint32_t w, h;
        cRenderTargetManager::target_size(e.first, w, h);
        EXPECT_EQ(e.second->width, w);
        EXPECT_EQ(e.second->height, h);
    }
}

TEST_F(RenderTargetPool, TheEighthFullTargetIsCreatedWithAWarningAndKept)
{
    std::vector<cTmpRT> held;
    testing::internal::CaptureStdout();
    // Seven full targets wait at start-up: two with a depth buffer, five
    // without.
    for (int i = 0; i < 2; ++i)
        held.push_back(get_tmp_rt(RTT_FULL));
    for (int i = 0; i < 5; ++i)
        held.push_back(get_flat_rt(RTT_FULL));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    for (size_t i = 0; i < held.size(); ++i)
        EXPECT_EQ(held[i]->has_depth, i < 2) << i;
    testing::internal::CaptureStdout();
    held.push_back(get_tmp_rt(RTT_FULL));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "# performance-warning at 1234ms: allocated rendertarget runtime: RTT_FULL\n");
    EXPECT_EQ(pool->in_use(), 8u);
    EXPECT_EQ(pool->max_in_use(), 15u);
    held.clear();
    int full = 0;
    for (const auto& e : pool->pool())
        full += e.first == RTT_FULL;
    EXPECT_EQ(full, 8);
    EXPECT_EQ(pool->in_use(), 0u);
}

TEST_F(RenderTargetPool, SizesNotMadeAtStartWarnOnlyOnce)
{
    for (eRTT type : {RTT_EIGHTH, RTT_DOUBLE}) {
        testing::internal::CaptureStdout();
        {
            cTmpRT t = get_tmp_rt(type);
            uint32_t w = type == RTT_DOUBLE ? 2560 : 160, h = type == RTT_DOUBLE ? 1440 : 90;
            EXPECT_EQ(t->width, w);
            EXPECT_EQ(t->height, h);
        }
        std::string first = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(starts_with(first, "# performance-warning at ")) << first;
        EXPECT_NE(first.find(rtt_name(type) + "\n"), std::string::npos);
        testing::internal::CaptureStdout();
        { cTmpRT again = get_tmp_rt(type); }
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    }
    EXPECT_EQ(pool->created_at_runtime(), 2u);
}

TEST_F(RenderTargetPool, TheTargetReturnedFirstIsHandedOutFirst)
{
    // Drain the idle FULL targets so that A and B are the only ones.
    std::vector<cTmpRT> others;
    for (int i = 0; i < 5; ++i)
        others.push_back(get_tmp_rt(RTT_FULL));
    cTmpRT a = get_tmp_rt(RTT_FULL), b = get_tmp_rt(RTT_FULL);
    cRenderTarget_fbo* ta = a.get();
    cRenderTarget_fbo* tb = b.get();
    a.release();
    b.release();
    cTmpRT next = get_tmp_rt(RTT_FULL);
    EXPECT_EQ(next.get(), ta);
    cTmpRT after = get_tmp_rt(RTT_FULL);
    EXPECT_EQ(after.get(), tb);
}

TEST_F(RenderTargetPool, EmptyAndMovedFromHandlesGiveNothingBack)
{
    {
        cTmpRT empty;
        EXPECT_FALSE(empty);
    }
    cTmpRT a = get_tmp_rt(RTT_HALF);
    EXPECT_EQ(pool->in_use(), 1u);
    cTmpRT b = std::move(a);
    EXPECT_FALSE(a);  // NOLINT: moved-from is empty by contract
    a.release();
    EXPECT_EQ(pool->in_use(), 1u);
    b.release();
    b.release();  // a second release is harmless
    EXPECT_EQ(pool->in_use(), 0u);
    EXPECT_EQ(pool->pool_size(), 15u);

    cTmpRT c = get_tmp_rt(RTT_HALF);
    cTmpRT d = get_tmp_rt(RTT_QUATER);
    c = std::move(d);  // c's HALF target goes back first
    EXPECT_EQ(pool->in_use(), 1u);
    EXPECT_EQ(c.type(), RTT_QUATER);
}

TEST_F(RenderTargetPool, ExitStatisticsReportSizeMaximumAndLeftovers)
{
    {
        cTmpRT a = get_tmp_rt(RTT_FULL);
    }
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    destroy_rendertarget_manager();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "# rrt-manager: number of tmp-rt allocated: 15\n"
              "# rtt-manager: maximum concurrently allocated RTs: 15\n");

    // A handle still held when the pool goes is reported, its target and GL
    // objects are freed with the pool, and giving it back afterwards touches
    // nothing.
    cTmpRT held = get_tmp_rt(RTT_HALF);
    const GLuint fbo = held->fbo, texture = held->texture;
    ASSERT_TRUE(ext::glIsFramebufferEXT(fbo));
    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    destroy_rendertarget_manager();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "## ERROR, rendertargetmanager: rendertarget still bound while exiting...\n");
    EXPECT_FALSE(ext::glIsFramebufferEXT(fbo));
    EXPECT_FALSE(glIsTexture(texture));
    held.release();
    EXPECT_FALSE(held);
}

TEST_F(RenderTargetPool, ClassifiesTargetsByWidth)
{
    cRenderTarget_fbo half(640, 360), dbl(2560, 1440), odd(1000, 10);
    EXPECT_EQ(get_rtt_type(&half), RTT_HALF);
    EXPECT_EQ(get_rtt_type(&dbl), RTT_NONE);
    EXPECT_EQ(get_rtt_type(&odd), RTT_FULL);
    EXPECT_EQ(rtt_name(3), "OOOPS");
    EXPECT_EQ(rtt_name(RTT_QUATER), "RTT_QUATER");
}

TEST_F(RenderTargetPool, EqualPixelCountsShareOneDepthBuffer)
{
    const size_t before = shared_depth_buffer_count();
    {
        cRenderTarget_fbo a(100, 40), b(40, 100), c(64, 64);
        a.create();
        b.create();
        c.create();
        EXPECT_EQ(a.depth_rb, b.depth_rb);
        EXPECT_NE(a.depth_rb, c.depth_rb);
        EXPECT_EQ(shared_depth_buffer_count(), before + 2);
    }
    // The buffers went with their last targets; new targets get live ones.
    EXPECT_EQ(shared_depth_buffer_count(), before);
    cRenderTarget_fbo d(100, 40);
    d.create();
    d.bind(false);
    glClearDepth(0.25);
    glClear(GL_DEPTH_BUFFER_BIT);
    float depth = 0.f;
    glReadPixels(5, 5, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    d.unbind();
    glClearDepth(1.0);
    EXPECT_NEAR(depth, 0.25f, 0.01f);
}

TEST_F(RenderTargetPool, TargetsHoldWhatWasDrawnAndShowIt)
{
    cTmpRT t = get_tmp_rt(RTT_QUATER);
    glClearColor(1.f, 0.f, 0.f, 1.f);
    t->bind(true);
    glGetError();
    int vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 320);
    EXPECT_EQ(vp[3], 180);
    t->unbind();
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 1280);

    // bind without clearing keeps the earlier content
    glClearColor(0.f, 0.f, 1.f, 1.f);
    EXPECT_TRUE(near_rgba(read_target_pixel(t.get(), 10, 10), {255, 0, 0, 255}, 1));

    // and the picture reaches the window through draw_target
    glClearColor(0.f, 0.f, 0.f, 0.f);
    glClear(GL_COLOR_BUFFER_BIT);
    draw_target(t.get());
    EXPECT_TRUE(near_rgba(read_pixel(640, 360), {255, 0, 0, 255}, 1));
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    EXPECT_EQ(unit, GL_TEXTURE0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_RECTANGLE_ARB));
}

TEST_F(RenderTargetPool, EachTextureUnitIsAddressedInItsOwnTargetsPixels)
{
    cTmpRT a = get_tmp_rt(RTT_FULL);
    cTmpRT b = get_tmp_rt(RTT_HALF);
    glClearColor(1.f, 1.f, 1.f, 1.f);
    a->bind(true);
    a->unbind();
    // b: left quarter of its width green, the rest blue
    glClearColor(0.f, 0.f, 1.f, 1.f);
    b->bind(true);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 160, 360);
    glClearColor(0.f, 1.f, 0.f, 1.f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    b->unbind();
    glClearColor(0.f, 0.f, 0.f, 0.f);

    // Fixed-function multitexture: colour = a * b.
    {
        cPassState quad(flat_2d());
        glColor4f(1.f, 1.f, 1.f, 1.f);
        a->bind_texture(GL_TEXTURE0_ARB);
        b->bind_texture(GL_TEXTURE1_ARB);
        draw_quad_2tex(a.get(), b.get());
        b->unbind_texture();
        a->unbind_texture();
    }
    EXPECT_TRUE(near_rgba(read_pixel(int(0.2 * 1280), 360), {0, 255, 0, 255}, 2));
    EXPECT_TRUE(near_rgba(read_pixel(int(0.4 * 1280), 360), {0, 0, 255, 255}, 2));
}
