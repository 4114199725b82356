#include "gl/glsl_calls.h"

#include <SDL/SDL.h>

namespace {
GlslCalls& table()
{
    static GlslCalls calls;
    return calls;
}

template <typename P>
void resolve(P& p, const char* name, bool& all)
{
    p = reinterpret_cast<P>(SDL_GL_GetProcAddress(name));
    all = all && p != nullptr;
}
}  // namespace

const GlslCalls& glsl_calls()
{
    return table();
}

bool resolve_glsl_calls()
{
    static bool resolved = false;
    static bool complete = false;
    if (resolved)
        return complete;
    resolved = true;
    GlslCalls& gl = table();
    bool all = true;
    resolve(gl.CreateShader, "glCreateShader", all);
    resolve(gl.ShaderSource, "glShaderSource", all);
    resolve(gl.CompileShader, "glCompileShader", all);
    resolve(gl.GetShaderiv, "glGetShaderiv", all);
    resolve(gl.GetShaderInfoLog, "glGetShaderInfoLog", all);
    resolve(gl.CreateProgram, "glCreateProgram", all);
    resolve(gl.AttachShader, "glAttachShader", all);
    resolve(gl.LinkProgram, "glLinkProgram", all);
    resolve(gl.GetProgramiv, "glGetProgramiv", all);
    resolve(gl.GetProgramInfoLog, "glGetProgramInfoLog", all);
    resolve(gl.UseProgram, "glUseProgram", all);
    resolve(gl.GetUniformLocation, "glGetUniformLocation", all);
    resolve(gl.GetActiveUniform, "glGetActiveUniform", all);
    resolve(gl.Uniform1fv, "glUniform1fv", all);
    resolve(gl.Uniform2fv, "glUniform2fv", all);
    resolve(gl.Uniform3fv, "glUniform3fv", all);
    resolve(gl.Uniform4fv, "glUniform4fv", all);
    resolve(gl.Uniform1i, "glUniform1i", all);
    resolve(gl.DeleteShader, "glDeleteShader", all);
    resolve(gl.DeleteProgram, "glDeleteProgram", all);
    complete = all;
    return all;
}
