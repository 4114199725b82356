// The shader runtime below the manager: what it refuses and what a
// destroyed context takes with it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "shader_runtime/shader_runtime.h"
#include "support/shader_setup.h"

namespace {
int g_failures = 0;
void count_failure()
{
    ++g_failures;
}
}  // namespace

TEST_F(GLTest, ShaderRuntimeRefusesBadValuesAndForgetsADestroyedContext)
{
    TempDir dir;
    dir.write("v.glsl", "#version 120\nvoid main() { gl_Position = ftransform(); }\n");
    dir.write("f.glsl",
              "#version 120\nuniform vec2 pair;\nuniform float unused;\n"
              "void main() { gl_FragColor = vec4(pair, 0.0, 1.0); }\n");
    g_failures = 0;
    shrt::set_error_callback(count_failure);
    shrt::Context* c = shrt::create_context();
    shrt::Program* vp = shrt::create_program_from_file(c, dir.path + "/v.glsl", shrt::CG_PROFILE_ARBVP1);
    shrt::Program* fp = shrt::create_program_from_file(c, dir.path + "/f.glsl", shrt::CG_PROFILE_ARBFP1);
    ASSERT_TRUE(vp && fp);
    EXPECT_EQ(g_failures, 0);

    // Not loaded yet: not bindable.
    shrt::bind_program(fp);
    EXPECT_EQ(shrt::get_error(), shrt::PROGRAM_NOT_LOADED);
    shrt::load_program(vp);
    shrt::load_program(fp);

    shrt::Parameter* pair = shrt::named_parameter(fp, "pair");
    ASSERT_NE(pair, nullptr);
    EXPECT_NE(shrt::named_parameter(fp, "unused"), nullptr) << "a declared parameter the compiler drops still exists";
    EXPECT_EQ(shrt::named_parameter(fp, "nothing"), nullptr);
    EXPECT_EQ(shrt::named_parameter(vp, "pair"), nullptr);

    const float four[4] = {1, 2, 3, 4};
    shrt::set_parameter_4fv(pair, four);  // more than a vec2 holds
    EXPECT_EQ(shrt::get_error(), shrt::PARAMETER_TYPE_MISMATCH);
    float got[4];
    EXPECT_FALSE(shrt::parameter_value(pair, got));
    shrt::set_parameter_2f(pair, 0.25f, 0.75f);
    shrt::set_parameter_1f(shrt::named_parameter(fp, "unused"), 3.f);
    EXPECT_EQ(shrt::get_error(), shrt::NO_ERROR);

    // Both bound and enabled: the pair runs with the stored value.
    shrt::enable_profile(shrt::CG_PROFILE_ARBVP1);
    shrt::enable_profile(shrt::CG_PROFILE_ARBFP1);
    shrt::bind_program(vp);
    shrt::bind_program(fp);
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_NE(program, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_QUADS);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    EXPECT_TRUE(near_rgba(read_pixel(10, 10), {64, 191, 0, 255}, 1));
    // The fragment stage off: the vertex program runs alone.
    shrt::disable_profile(shrt::CG_PROFILE_ARBFP1);
    GLint vertexOnly = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &vertexOnly);
    EXPECT_NE(vertexOnly, program);
    EXPECT_NE(vertexOnly, 0);

    g_failures = 0;
    shrt::destroy_context(c);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
    EXPECT_EQ(shrt::bound_program(shrt::CG_PROFILE_ARBVP1), nullptr);
    shrt::set_parameter_1f(pair, 1.f);
    EXPECT_EQ(g_failures, 1);
    EXPECT_EQ(shrt::get_error(), shrt::INVALID_PARAM_HANDLE);
    shrt::disable_profile(shrt::CG_PROFILE_ARBVP1);
    shrt::set_error_callback(nullptr);
}
