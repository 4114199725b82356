// The developer's GL error checks: off unless asked for; on, every pending
// error is reported with what ran before and the queue is left empty.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "gl/gl_check.h"
#include "support/gl_fixture.h"

using GLCheck = GLTest;

TEST_F(GLCheck, DrainsEveryPendingErrorNamingThePass)
{
    unsetenv("WENDIT_GL_CHECK");
    glEnable(0x7FFF);
    EXPECT_EQ(gl_check_after("off"), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM)) << "left for whoever looks next";

    setenv("WENDIT_GL_CHECK", "1", 1);
    glEnable(0x7FFF);   // invalid enum
    glLineWidth(-1.f);  // invalid value (Mesa keeps only the first)
    testing::internal::CaptureStderr();
    EXPECT_GE(gl_check_after("the pass with shader \"x\""), 1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("## ERROR: OpenGL error after the pass with shader \"x\": invalid enumerant (0x500)\n"),
              std::string::npos)
        << err;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(gl_check_after("nothing"), 0);
    unsetenv("WENDIT_GL_CHECK");
}
