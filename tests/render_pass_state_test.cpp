// Entering and leaving a pass: what each set-up gives the drawing inside,
// and the GL state left behind, read from GL.
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cmath>

#include "render/cRenderTargetManager.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"
#include "support/shader_setup.h"

namespace {
class PassState : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        sm = start_pass_shaders();
        // A 3-D scene's leftovers, which the set-ups must switch off and
        // then give back.
        glEnable(GL_LIGHTING);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_ALPHA_TEST);
        glDepthMask(GL_TRUE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-1.0, 1.0, -1.0, 1.0, 1.0, 10.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0.f, 0.f, -5.f);
    }
    void TearDown() override
    {
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_ALPHA_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        sm->unbind();
        GLTest::TearDown();
    }
    static void matrix(GLenum which, float m[16]) { glGetFloatv(which, m); }
    static bool is_identity(const float m[16])
    {
        for (int i = 0; i < 16; ++i)
            if (m[i] != ((i % 5 == 0) ? 1.f : 0.f))
                return false;
        return true;
    }
    // The unit square's orthographic matrix: x and y from 0..1 to -1..1,
    // depth turned over.
    static bool is_unit_square(const float m[16])
    {
        const float want[16] = {2.f, 0.f, 0.f, 0.f, 0.f, 2.f, 0.f, 0.f, 0.f, 0.f, -1.f, 0.f, -1.f, -1.f, 0.f, 1.f};
        for (int i = 0; i < 16; ++i)
            if (std::abs(m[i] - want[i]) > 1e-6f)
                return false;
        return true;
    }
    static bool on(GLenum cap) { return glIsEnabled(cap) == GL_TRUE; }
    static GLboolean depth_mask()
    {
        GLboolean m = GL_FALSE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &m);
        return m;
    }

    cShaderManager_CG* sm = nullptr;
};
}  // namespace

TEST_F(PassState, TheTwoUnitSquaresPutTheirMatrixWhereTheyNameItAndBothGoBack)
{
    const GLStateSnapshot before = snapshot_gl_state();
    float p[16], mv[16];
    {
        cPassState quad(flat_2d());
        matrix(GL_PROJECTION_MATRIX, p);
        matrix(GL_MODELVIEW_MATRIX, mv);
        EXPECT_TRUE(is_identity(p));
        EXPECT_TRUE(is_unit_square(mv));
        EXPECT_FALSE(on(GL_LIGHTING) || on(GL_DEPTH_TEST) || on(GL_ALPHA_TEST) || on(GL_FOG));
        EXPECT_EQ(depth_mask(), GL_FALSE);
    }
    EXPECT_TRUE(snapshot_gl_state() == before) << snapshot_gl_state().describe() << "\n" << before.describe();
    {
        cPassState overlay(overlay_2d());
        matrix(GL_PROJECTION_MATRIX, p);
        matrix(GL_MODELVIEW_MATRIX, mv);
        EXPECT_TRUE(is_unit_square(p));
        EXPECT_TRUE(is_identity(mv));
        EXPECT_TRUE(on(GL_BLEND));
        EXPECT_FALSE(on(GL_TEXTURE_2D) || on(GL_TEXTURE_RECTANGLE_ARB) || on(GL_CULL_FACE));
        GLint src = 0, dst = 0;
        glGetIntegerv(GL_BLEND_SRC, &src);
        glGetIntegerv(GL_BLEND_DST, &dst);
        EXPECT_EQ(src, GL_SRC_ALPHA);
        EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    }
    EXPECT_TRUE(snapshot_gl_state() == before) << snapshot_gl_state().describe() << "\n" << before.describe();
}

TEST_F(PassState, APassInsideAPassGivesBackEachLevelsDepthMask)
{
    // Depth writes on outside; an inner scene turns them on again inside
    // the outer pass, and its own pass must give back that, not the
    // outermost mask.
    {
        cPassState outer(flat_2d());
        glDepthMask(GL_TRUE);
        {
            cPassState inner(flat_2d());
            EXPECT_EQ(depth_mask(), GL_FALSE);
        }
        EXPECT_EQ(depth_mask(), GL_TRUE) << "the inner pass's entry mask";
        glDepthMask(GL_FALSE);
    }
    EXPECT_EQ(depth_mask(), GL_TRUE);
}

TEST_F(PassState, TheShaderBoundBeforeIsBoundAgainAndTheMatrixModeComesBack)
{
    sm->bind("invert_shader");
    glMatrixMode(GL_TEXTURE);
    {
        cPassState pass(flat_2d().shaders(sm));
        sm->bind("levels_shader");
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW) << "the quads draw in the model-view";
    }
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_TEXTURE);
    glMatrixMode(GL_MODELVIEW);
    ASSERT_NE(sm->bound_shader(), nullptr);
    EXPECT_EQ(sm->bound_shader(), sm->find("invert_shader"));
}

TEST_F(PassState, ATargetEnteredInsideAnotherGivesItBackWithItsViewport)
{
    cTmpRT outer = get_flat_rt(RTT_HALF), inner = get_flat_rt(RTT_QUATER);
    fill_target(outer.get(), {0, 0, 0, 255});
    fill_target(inner.get(), {0, 0, 0, 255});
    GLint window[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, window);
    // The window's own binding: 0 with SDL 1.2, the compatibility layer's
    // framebuffer over SDL2 (Debian 13).
    GLint windowFramebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &windowFramebuffer);
    {
        cPassState into_outer(flat_2d().into(outer.get()));
        {
            cPassState into_inner(cPassOptions().into(inner.get()));
            glColor4f(0.f, 0.f, 1.f, 1.f);
            draw_quad_unit();
        }
        GLint vp[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_VIEWPORT, vp);
        EXPECT_EQ(vp[2], GLint(outer->width));
        EXPECT_EQ(vp[3], GLint(outer->height));
        // Drawn after the inner pass: it must land in the outer target, not
        // in the window.
        glColor4f(1.f, 0.f, 0.f, 1.f);
        draw_quad_unit();
    }
    GLint vp[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, vp);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(vp[i], window[i]);
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebuffer);
    EXPECT_EQ(framebuffer, windowFramebuffer);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(near_rgba(read_target(outer.get())[0], {255, 0, 0, 255}, 1));
    EXPECT_TRUE(near_rgba(read_target(inner.get())[0], {0, 0, 255, 255}, 1));
}

TEST_F(PassState, AKeptViewportComesBackAfterTheDrawingMovesIt)
{
    GLint before[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, before);
    {
        cPassState pass(cPassOptions().keep_viewport());
        glViewport(10, 20, 30, 40);
    }
    GLint after[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, after);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(after[i], before[i]);
}
