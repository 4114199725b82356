#include "gl/gl_check.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

bool gl_checks_on()
{
    const char* v = std::getenv("WENDIT_GL_CHECK");
    return v && std::strcmp(v, "1") == 0;
}

int gl_check_after(const std::string& what)
{
    if (!gl_checks_on())
        return 0;
    int count = 0;
    // Each error flag is cleared as it is read; a context without errors
    // (or without a context at all) answers GL_NO_ERROR. The bound keeps a
    // broken driver from holding the show here.
    for (GLenum code; count < 64 && (code = glGetError()) != GL_NO_ERROR; ++count) {
        const GLubyte* text = gluErrorString(code);
        std::cerr << "## ERROR: OpenGL error after " << what << ": "
                  << (text ? reinterpret_cast<const char*>(text) : "unknown error") << " (0x" << std::hex << code
                  << std::dec << ")" << std::endl;
    }
    return count;
}
