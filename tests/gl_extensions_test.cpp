// Extension tests, GL error reports and the start-up GL state.
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <sstream>

#include "app/command_line.h"
#include "app/init_gl.h"
#include "app/init_sdl.h"
#include "gl/gl_extensions.h"
#include "platform/WindowConfig.h"
#include "render/cRenderTargetManager.h"
#include "support/gl_fixture.h"

TEST(ExtensionList, MatchesWholeTokensOnly)
{
    const char* list = "GL_ARB_texture_float_x GL_ARB_multitexture";
    EXPECT_FALSE(extension_list_has(list, "GL_ARB_texture_float"));
    EXPECT_TRUE(extension_list_has(list, "GL_ARB_multitexture"));
    EXPECT_TRUE(extension_list_has(list, "GL_ARB_texture_float_x"));
    EXPECT_FALSE(extension_list_has(list, "GL_ARB_multi"));
    EXPECT_FALSE(extension_list_has(list, ""));
    EXPECT_FALSE(extension_list_has("", "GL_ARB_multitexture"));
    EXPECT_TRUE(extension_list_has("A B ", "B"));
}

TEST(ExtensionList, OptionalWarningsNameWhatIsMissing)
{
    std::ostringstream out;
    report_optional_extensions(
        "GL_SGIS_texture_lod GL_SGIS_generate_mipmap GL_ARB_texture_env_add GL_EXT_texture_lod_bias "
        "GL_ARB_texture_float GL_EXT_texture_rectangle GL_ARB_multisample GL_ARB_texture_non_power_of_two "
        "GL_ARB_pixel_buffer_object GL_ARB_point_sprite",
        out);
    EXPECT_EQ(out.str(),
              "# WARNING: GL_ARB_texture_rectangle not supported\n"
              "           GL_EXT_texture_rectangle supported though\n");
    std::ostringstream none;
    report_optional_extensions("", none);
    EXPECT_EQ(none.str(),
              "# WARNING: GL_SGIS_texture_lod not supported\n"
              "# WARNING: GL_SGIS_generate_mipmap not supported\n"
              "# WARNING: GL_ARB_texture_env_add not supported\n"
              "# WARNING: EXT_texture_lod_bias not supported\n"
              "# WARNING: GL_ARB_texture_float not supported\n"
              "# WARNING: GL_ARB_texture_rectangle not supported\n"
              "# WARNING: GL_EXT_texture_rectangle not supported\n"
              "# WARNING: GL_ARB_multisample not supported\n"
              "# WARNING: GL_ARB_texture_non_power_of_two not supported!\n"
              "# WARNING: \tGL_ARB_pixel_buffer_object not supported! (go bug your hardware-vendor)\n"
              "# WARNING: \tGL_ARB_point_sprite not supported! (go bug your hardware-vendor)\n");
}

TEST(WindowAttributes, FirstMismatchIsReportedWithBothSides)
{
    const int requested[9] = {8, 8, 8, 8, 24, 1, 0, 0, 0};
    int received[9] = {8, 8, 8, 8, 16, 1, 0, 0, 0};
    EXPECT_EQ(attribute_mismatch_warning(requested, received),
              "# warning: init_sdl: SDL display attribute 4 failed\n"
              "requested: 8x8x8x8x24  doublebuffered  0\n"
              "recieved: 8x8x8x8x16  doublebuffered  0\n"
              "---------------------\n");
    received[4] = 24;
    EXPECT_EQ(attribute_mismatch_warning(requested, received), "");
    const int fsaa[9] = {8, 8, 8, 8, 24, 0, 1, 4, 0};
    int got[9] = {8, 8, 8, 8, 24, 0, 0, 0, 0};
    EXPECT_EQ(attribute_mismatch_warning(fsaa, got),
              "# warning: init_sdl: SDL display attribute 6 failed\n"
              "requested: 8x8x8x8x24  singlebuffered multisample 4\n"
              "recieved: 8x8x8x8x24  singlebuffered  0\n"
              "---------------------\n");
}

TEST(WindowConfigTest, RenderAreaIsCentredUnlessFullHeight)
{
    WindowConfig c;
    Viewport v = c.render_viewport();
    EXPECT_EQ(v.x, 0);
    EXPECT_EQ(v.y, 0);
    EXPECT_EQ(v.width, 1280);
    EXPECT_EQ(v.height, 720);
    c.renderHeight = 535;
    v = c.render_viewport();
    EXPECT_EQ(v.y, 92);
    EXPECT_EQ(v.height, 535);
    c.fullHeight = true;
    v = c.render_viewport();
    EXPECT_EQ(v.y, 0);
    EXPECT_EQ(v.height, 720);
}

TEST(CommandLine, OnlyTheExactSwitchSetsCapture)
{
    const char* a[] = {"morvane", "x", "--use_kkapture", "y"};
    EXPECT_TRUE(capture_flag(4, a));
    const char* b[] = {"morvane", "--use_kkapture=1", "--USE_KKAPTURE"};
    EXPECT_FALSE(capture_flag(3, b));
    const char* c[] = {"--use_kkapture"};
    EXPECT_FALSE(capture_flag(1, c)) << "the program name is not an argument";
}

using GLStartup = GLTest;

TEST_F(GLStartup, ErrorCheckReportsOneErrorPerCall)
{
    // Mesa keeps one pending error, so each check gets its own.
    testing::internal::CaptureStderr();
    glEnable(0x7fff);
    EXPECT_TRUE(check_gl_error(""));
    EXPECT_FALSE(check_gl_error(""));
    glEnable(0x7fff);
    EXPECT_TRUE(check_gl_error("init_gl"));
    EXPECT_FALSE(check_gl_error("init_gl"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "## ERROR: OpenGL : invalid enumerant\n"
              "## ERROR: OpenGL  init_gl: invalid enumerant\n");
}

TEST_F(GLStartup, InitGlLoadsEverythingTheEngineCalls)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    init_gl();
    std::string err = testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(err.find("not initialized"), std::string::npos) << err;
    EXPECT_EQ(err.find("## ERROR"), std::string::npos) << err;
    EXPECT_TRUE(ext::glGenFramebuffersEXT && ext::glBindFramebufferEXT && ext::glFramebufferTexture2DEXT &&
                ext::glDeleteFramebuffersEXT && ext::glGenRenderbuffersEXT && ext::glBindRenderbufferEXT &&
                ext::glRenderbufferStorageEXT && ext::glFramebufferRenderbufferEXT &&
                ext::glDeleteRenderbuffersEXT);
    EXPECT_TRUE(ext::glActiveTextureARB && ext::glMultiTexCoord2fARB && ext::glClientActiveTextureARB);
    EXPECT_TRUE(ext::glBindBufferARB && ext::glGenBuffersARB && ext::glBufferDataARB && ext::glDeleteBuffersARB);
    EXPECT_TRUE(ext::glBlendFuncSeparate);
    EXPECT_TRUE(rendertarget_manager_exists());
    EXPECT_EQ(get_rendertarget_manager()->pool_size(), 15u);
    int vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[2], 1280);
    EXPECT_EQ(vp[3], 720);
}

namespace {
// A square over the middle of the window at depth z, facing the viewer
// (counter-clockwise) or, with `away`, turned from it.
void square(float z, bool away = false)
{
    const float x[4] = {-.5f, .5f, .5f, -.5f}, y[4] = {-.5f, -.5f, .5f, .5f};
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        const int k = away ? 3 - i : i;
        glVertex3f(x[k], y[k], z);
    }
    glEnd();
}
}  // namespace

// What a scene may take for granted when it starts drawing, whatever was
// drawn before: the camera at rest, nearer things hiding farther ones,
// half-transparent colours blended, faces turned away not drawn, and
// lighting on (an unlit scene turns it off).
TEST_F(GLStartup, DefaultStateDrawsAsScenesExpectWhateverCameBefore)
{
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.9f);
    glEnable(GL_COLOR_MATERIAL);
    glMatrixMode(GL_PROJECTION);
    glTranslatef(0.7f, 0.f, 0.f);
    glMatrixMode(GL_TEXTURE);
    init_gl_state();

    glClearColor(0.f, 0.f, 0.f, 0.f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Lit, and no light switched on: a dim grey, whatever the colour given.
    glColor4f(1.f, 0.f, 0.f, 1.f);
    square(0.f);
    const Rgba lit = read_pixel(640, 360);
    EXPECT_TRUE(lit.r == lit.g && lit.g == lit.b && lit.r > 0 && lit.r < 40) << lit.r << " " << lit.g << " " << lit.b;

    glDisable(GL_LIGHTING);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(0.f, 1.f, 0.f);
    square(-0.5f);
    glColor3f(1.f, 0.f, 0.f);
    square(0.5f);
    EXPECT_TRUE(near_rgba(read_pixel(640, 360), {0, 255, 0, 255}, 1)) << "the nearer square hides the farther";
    EXPECT_TRUE(near_rgba(read_pixel(20, 20), {0, 0, 0, 0}, 1)) << "squares in the middle only: matrices at rest";
    glColor4f(0.f, 0.f, 1.f, 0.5f);
    square(-0.9f);
    EXPECT_TRUE(near_rgba(read_pixel(640, 360), {0, 128, 128, 191}, 2)) << "half blended over the green";
    glColor3f(1.f, 1.f, 1.f);
    square(-0.95f, true);
    EXPECT_TRUE(near_rgba(read_pixel(640, 360), {0, 128, 128, 191}, 2)) << "a face turned away is not drawn";
    // The matrix a scene then moves is the model-view.
    glTranslatef(2.f, 0.f, 0.f);
    glColor3f(1.f, 1.f, 1.f);
    square(-0.99f);
    EXPECT_TRUE(near_rgba(read_pixel(640, 360), {0, 128, 128, 191}, 2)) << "moved out of sight";
    glLoadIdentity();
    glEnable(GL_LIGHTING);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
