// The sampler-unit convention: samplers are not parameters; a sampler
// whose name ends in a digit reads that texture unit (tex1 reads
// GL_TEXTURE1), any other reads unit 0. Set once, when a pair links.
#include <cstring>

#include "shader_runtime/runtime_state.h"

namespace shrt {
namespace detail {

void assign_sampler_units(GLuint program)
{
    GLint count = 0;
    ext::glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    GLint previous = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
    ext::glUseProgram(program);
    for (GLint i = 0; i < count; ++i) {
        char name[256] = {0};
        GLint size = 0;
        GLenum type = 0;
        ext::glGetActiveUniform(program, GLuint(i), sizeof(name), nullptr, &size, &type, name);
        const bool sampler = type == GL_SAMPLER_2D || type == GL_SAMPLER_2D_RECT_ARB || type == GL_SAMPLER_1D ||
                             type == GL_SAMPLER_3D || type == GL_SAMPLER_CUBE;
        if (!sampler)
            continue;
        const size_t n = std::strlen(name);
        const int unit = n > 0 && name[n - 1] >= '0' && name[n - 1] <= '9' ? name[n - 1] - '0' : 0;
        ext::glUniform1i(ext::glGetUniformLocation(program, name), unit);
    }
    ext::glUseProgram(GLuint(previous));
}

}  // namespace detail
}  // namespace shrt
