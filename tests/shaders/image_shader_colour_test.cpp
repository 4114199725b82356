// The textured scene shaders take the current colour when lighting is off:
// the title and credits multiply grey and black copies of an image onto a
// white page, the head pass adds copies weighted by the colour's alpha.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "render/cRenderTargetManager.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/scene_shaders.h"
#include "support/shader_setup.h"

namespace {
class ImageShaderTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        sm = start_shaders();
        get_rendertarget_manager()->demo_time = [] { return 0; };
        testing::internal::CaptureStderr();
        register_shader<cShdRGBAtex>("rgba_shader");
        register_shader<cShdOrviktex>("orvik_shader");
        testing::internal::GetCapturedStderr();
        const std::vector<unsigned char> white(16 * 16 * 4, 255);
        glGenTextures(1, &tex);
        glBindTexture(GL_TEXTURE_2D, tex);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, white.data());
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    void TearDown() override
    {
        glDeleteTextures(1, &tex);
        GLTest::TearDown();
    }
    // The white texture drawn over the whole target through a shader, in
    // the given colour and blend factors, the target first cleared to page.
    Rgba draw(const char* shader, const float colour[4], GLenum src, GLenum dst, float page, int copies = 1)
    {
        cTmpRT rt = get_tmp_rt(RTT_QUATER);
        glClearColor(page, page, page, 0.f);
        {
            cPassState into(cPassOptions().into(rt.get(), true));
            cPassState quad(flat_2d());
            if (lit)
                glEnable(GL_LIGHTING);
            glEnable(GL_BLEND);
            glBlendFunc(src, dst);
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, tex);
            sm->bind(shader);
            glColor4fv(colour);
            for (int i = 0; i < copies; ++i)
                draw_quad_unit();
            sm->unbind();
            glBindTexture(GL_TEXTURE_2D, 0);
            glDisable(GL_TEXTURE_2D);
            glDisable(GL_BLEND);
        }
        glClearColor(0.f, 0.f, 0.f, 0.f);
        return read_target(rt.get())[0];
    }
    cShaderManager_CG* sm = nullptr;
    GLuint tex = 0;
    bool lit = false;
};
}  // namespace

TEST_F(ImageShaderTest, MultipliedCopiesTakeTheirGreyOrBlackFromTheColour)
{
    const float grey[4] = {0.7f, 0.7f, 0.7f, 1.f}, black[4] = {0.f, 0.f, 0.f, 1.f}, light[4] = {0.6f, 0.6f, 0.6f, 1.f};
    for (const char* shader : {"rgba_shader", "orvik_shader"}) {
        EXPECT_TRUE(near_rgba(draw(shader, grey, GL_ZERO, GL_SRC_COLOR, 1.f), {179, 179, 179, 0}, 2)) << shader;
        EXPECT_TRUE(near_rgba(draw(shader, black, GL_ZERO, GL_SRC_COLOR, 1.f), {0, 0, 0, 0}, 1)) << shader;
        EXPECT_TRUE(near_rgba(draw(shader, light, GL_ZERO, GL_SRC_COLOR, 1.f), {153, 153, 153, 0}, 2)) << shader;
    }
}

TEST_F(ImageShaderTest, AdditiveCopiesAddTheirAlphaAndNothingAtAlphaZero)
{
    const float none[4] = {1.f, 1.f, 1.f, 0.f}, faint[4] = {1.f, 1.f, 1.f, 0.04f};
    EXPECT_TRUE(near_rgba(draw("rgba_shader", none, GL_SRC_ALPHA, GL_ONE, 0.2f, 25), {51, 51, 51, 0}, 1));
    // 25 copies at 0.04 add one whole white: the page saturates.
    const Rgba full = draw("rgba_shader", faint, GL_SRC_ALPHA, GL_ONE, 0.2f, 25);
    EXPECT_GE(full.r, 250);
    const Rgba five = draw("rgba_shader", faint, GL_SRC_ALPHA, GL_ONE, 0.2f, 5);
    EXPECT_NEAR(five.r, 51 + 51, 4);
}

TEST_F(ImageShaderTest, WithLightingOnTheMaterialLightsTheTextureNotTheColour)
{
    const float ambient[4] = {0.f, 0.f, 0.f, 1.f}, diffuse[4] = {0.5f, 0.25f, 1.f, 1.f};
    const float lightPos[4] = {0.f, 0.f, -1.f, 0.f}, lightDiffuse[4] = {1.f, 1.f, 1.f, 1.f};
    const float black[4] = {0.f, 0.f, 0.f, 1.f};
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, lightPos);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, ambient);
    glEnable(GL_LIGHT0);
    glDisable(GL_COLOR_MATERIAL);  // the material, not the colour
    lit = true;
    glNormal3f(0.f, 0.f, 1.f);  // the overlay projection flips z: it faces the light
    for (const char* shader : {"rgba_shader", "orvik_shader"})
        EXPECT_TRUE(near_rgba(draw(shader, black, GL_ONE, GL_ZERO, 0.f), {128, 64, 255, 255}, 3)) << shader;
    const float white[4] = {1.f, 1.f, 1.f, 1.f};
    EXPECT_TRUE(near_rgba(draw("rgba_shader", white, GL_ONE, GL_ZERO, 0.f), {128, 64, 255, 255}, 3));
    glPopMatrix();
    glPopAttrib();
}
