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

TEST_F(GLStartup, DefaultStateIsSet)
{
    glDisable(GL_BLEND);
    glMatrixMode(GL_TEXTURE);
    init_gl_state();
    GLint v = 0;
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    glGetIntegerv(GL_BLEND_SRC, &v);
    EXPECT_EQ(v, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &v);
    EXPECT_EQ(v, GL_ONE_MINUS_SRC_ALPHA);
    glGetIntegerv(GL_DEPTH_FUNC, &v);
    EXPECT_EQ(v, GL_LESS);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    GLfloat ambient[4];
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
    EXPECT_FLOAT_EQ(ambient[0], 0.1f);
    EXPECT_FLOAT_EQ(ambient[3], 0.1f);
    glGetIntegerv(GL_LIGHT_MODEL_COLOR_CONTROL, &v);
    EXPECT_EQ(v, GL_SEPARATE_SPECULAR_COLOR);
    glGetIntegerv(GL_MATRIX_MODE, &v);
    EXPECT_EQ(v, GL_MODELVIEW);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &v);
    EXPECT_EQ(v, GL_TEXTURE0);
}
