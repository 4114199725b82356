// The compile cache: each source file compiled once per process and stage.
#include <cstring>
#include <fstream>
#include <sstream>

#include "shader_runtime/runtime_state.h"

namespace shrt {
namespace detail {

std::map<std::pair<int, std::string>, std::unique_ptr<CompiledStage>> g_stages;
int g_compiles = 0;

GLuint compile_source(const std::string& source, int slot, bool& ok, std::string& log)
{
    const GLuint shader = ext::glCreateShader(slot == 0 ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    const char* text = source.c_str();
    const GLint length = GLint(source.size());
    ext::glShaderSource(shader, 1, &text, &length);
    ext::glCompileShader(shader);
    ++g_compiles;
    GLint status = GL_FALSE;
    ext::glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    ok = status == GL_TRUE;
    GLint logLength = 0;
    ext::glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &logLength);
    log.clear();
    if (logLength > 1) {
        log.assign(size_t(logLength), '\0');
        ext::glGetShaderInfoLog(shader, logLength, nullptr, &log[0]);
        log.resize(std::strlen(log.c_str()));
    }
    return shader;
}

CompiledStage* compile_stage(const std::string& file, int slot)
{
    auto key = std::make_pair(slot, file);
    auto it = g_stages.find(key);
    if (it != g_stages.end())
        return it->second.get();
    auto stage = std::make_unique<CompiledStage>();
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        stage->readable = false;
        stage->log = file + ": cannot open the file for reading";
        // A missing file may appear later (not cached).
        static CompiledStage missing;
        missing = *stage;
        return &missing;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string source = ss.str();
    stage->uniforms = declared_uniforms(source);
    std::string log;
    stage->shader = compile_source(source, slot, stage->ok, log);
    if (!log.empty())
        stage->log = file + ":\n" + log;
    CompiledStage* raw = stage.get();
    g_stages[key] = std::move(stage);
    return raw;
}

}  // namespace detail

int compile_count()
{
    return detail::g_compiles;
}

}  // namespace shrt
