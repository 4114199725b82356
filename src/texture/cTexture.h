#pragma once
// A texture record as the texture manager hands it out (copied freely; the
// manager owns the GL texture).
#include <GL/gl.h>

#include <cstdint>
#include <string>

struct cTexture {
    GLenum target = GLenum(-1);  // GL_TEXTURE_1D, GL_TEXTURE_2D or GL_TEXTURE_RECTANGLE_ARB
    GLuint id = GLuint(-1);
    uint32_t width = uint32_t(-1);
    uint32_t height = uint32_t(-1);
    GLint unit = -1;  // unit while bound by a drawing operation, else -1
    std::string name;  // base name of the requested file

    bool loaded() const { return id != GLuint(-1); }
};
