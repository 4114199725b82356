// The link cache: each vertex/fragment pair linked once into a GL program.
#include <algorithm>
#include <cstring>

#include "shader_runtime/runtime_state.h"

namespace shrt {
namespace detail {

std::map<std::pair<GLuint, GLuint>, std::unique_ptr<LinkedPair>> g_links;
int g_links_made = 0;

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
    pair->serial = unsigned(++g_links_made);
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

void resolve_locations(Program* program, const LinkedPair& link)
{
    for (const auto& p : program->parameters) {
        p->location = ext::glGetUniformLocation(link.program, p->name.c_str());
        p->linkSerial = link.serial;
    }
}

}  // namespace detail

using namespace detail;

bool link_programs(Program* vertex, Program* fragment)
{
    for (Program* p : {vertex, fragment})
        if (p && !valid_program(p)) {
            fail(INVALID_PROGRAM_HANDLE);
            return false;
        }
    if ((vertex && slot_of(vertex->profile) != 0) || (fragment && slot_of(fragment->profile) != 1)) {
        fail(INVALID_PROFILE);
        return false;
    }
    if (!vertex && !fragment)
        return true;
    LinkedPair* link = link_pair(vertex ? vertex->stage->shader : 0, fragment ? fragment->stage->shader : 0);
    if (!link->ok) {
        Context* c = (vertex ? vertex : fragment)->context;
        c->listing = link->log;
        c->hasListing = true;
        fail(LINK_ERROR);
        return false;
    }
    for (Program* p : {vertex, fragment})
        if (p)
            resolve_locations(p, *link);
    return true;
}

int link_count()
{
    return g_links_made;
}

}  // namespace shrt
