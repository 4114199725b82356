// The link cache: each vertex/fragment pair linked once into a GL program.
#include <algorithm>
#include <cstring>

#include "shader_runtime/runtime_state.h"

namespace shrt {
namespace detail {

std::map<std::pair<GLuint, GLuint>, std::unique_ptr<LinkedPair>> g_links;

LinkedPair* link_pair(GLuint vs, GLuint fs)
{
    auto key = std::make_pair(vs, fs);
    auto it = g_links.find(key);
    if (it != g_links.end())
        return it->second.get();
    auto pair = std::make_unique<LinkedPair>();
    pair->program = ext::glCreateProgram();
    if (vs)
        ext::glAttachShader(pair->program, vs);
    if (fs)
        ext::glAttachShader(pair->program, fs);
    ext::glLinkProgram(pair->program);
    GLint status = GL_FALSE;
    ext::glGetProgramiv(pair->program, GL_LINK_STATUS, &status);
    pair->ok = status == GL_TRUE;
    if (!pair->ok) {
        GLint logLength = 0;
        ext::glGetProgramiv(pair->program, GL_INFO_LOG_LENGTH, &logLength);
        std::string log(size_t(std::max(logLength, 1)), '\0');
        ext::glGetProgramInfoLog(pair->program, GLsizei(log.size()), nullptr, &log[0]);
        log.resize(std::strlen(log.c_str()));
        pair->log = log;
    } else {
        assign_sampler_units(pair->program);
    }
    LinkedPair* raw = pair.get();
    g_links[key] = std::move(pair);
    return raw;
}

}  // namespace detail
}  // namespace shrt
