// The profiler's listener on a real context: which draws become passes and
// how many pixels each wrote, the figures a frame's floor is built from.
#include <GL/gl.h>

#include "post/post.h"
#include "profile/profile_timer.h"
#include "render/cRenderTargetManager.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"
#include "support/prerequisite.h"
#include "support/shader_setup.h"

namespace {
class ProfileTimerTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        sm = start_pass_shaders();
        target = get_tmp_rt(RTT_QUATER);
    }
    void TearDown() override
    {
        set_pass_listener(nullptr);
        target.release();
        GLTest::TearDown();
    }

    // A plain quad over the lower left part of the viewport.
    static void quad(float part)
    {
        cPassState pass(flat_2d());
        glScalef(part, part, 1.f);
        draw_quad_unit();
    }

    cShaderManager_CG* sm = nullptr;
    cTmpRT target;
};
}  // namespace

TEST_F(ProfileTimerTest, EveryDrawIsOnePassWithThePixelsItWrote)
{
    cProfileTimer timer;
    set_pass_listener(&timer);
    timer.begin_frame(0, {"a"});
    target->bind(true);
    quad(0.5f);
    // A shader's pass takes in the plain quads drawn within it.
    sm->bind("levels_shader");
    quad(0.5f);
    quad(1.f);
    sm->unbind();
    // Under a 1x1 viewport the whole quad writes one pixel.
    glViewport(0, 0, 1, 1);
    quad(1.f);
    target->unbind();
    const FrameFigure f = timer.end_frame();
    set_pass_listener(nullptr);

    const long all = long(target->width) * long(target->height);
    ASSERT_EQ(f.passes.size(), 3u);
    EXPECT_EQ(f.passes[0].shader, "plain_quad");
    EXPECT_EQ(f.passes[0].samples, 1.f);
    EXPECT_EQ(f.passes[1].shader, "levels_shader");
    EXPECT_EQ(f.passes[2].shader, "plain_quad");
    EXPECT_EQ(f.passes[0].pixels, all);
    if (f.passes[0].fragments < 0)
        MISSING_PREREQUISITE("no occlusion queries in this GL (Mesa's has them)");
    EXPECT_EQ(f.passes[0].fragments, all / 4);
    EXPECT_EQ(f.passes[1].fragments, all / 4 + all);
    EXPECT_EQ(f.passes[2].fragments, 1);
    for (const PassFigure& p : f.passes)
        EXPECT_GE(p.ms, 0.0);
}
