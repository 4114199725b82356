#pragma once
// The GL 2.0 shader entry points the shader runtime calls, resolved once on
// first need (the runtime may be used before, or without, the extension
// loader's start-up step). A pointer stays null when its lookup failed.
#include <GL/gl.h>
#include <GL/glext.h>

struct GlslCalls {
    PFNGLCREATESHADERPROC CreateShader = nullptr;
    PFNGLSHADERSOURCEPROC ShaderSource = nullptr;
    PFNGLCOMPILESHADERPROC CompileShader = nullptr;
    PFNGLGETSHADERIVPROC GetShaderiv = nullptr;
    PFNGLGETSHADERINFOLOGPROC GetShaderInfoLog = nullptr;
    PFNGLCREATEPROGRAMPROC CreateProgram = nullptr;
    PFNGLATTACHSHADERPROC AttachShader = nullptr;
    PFNGLLINKPROGRAMPROC LinkProgram = nullptr;
    PFNGLGETPROGRAMIVPROC GetProgramiv = nullptr;
    PFNGLGETPROGRAMINFOLOGPROC GetProgramInfoLog = nullptr;
    PFNGLUSEPROGRAMPROC UseProgram = nullptr;
    PFNGLGETUNIFORMLOCATIONPROC GetUniformLocation = nullptr;
    PFNGLGETACTIVEUNIFORMPROC GetActiveUniform = nullptr;
    PFNGLUNIFORM1FVPROC Uniform1fv = nullptr;
    PFNGLUNIFORM2FVPROC Uniform2fv = nullptr;
    PFNGLUNIFORM3FVPROC Uniform3fv = nullptr;
    PFNGLUNIFORM4FVPROC Uniform4fv = nullptr;
    PFNGLUNIFORM1IPROC Uniform1i = nullptr;
    PFNGLDELETESHADERPROC DeleteShader = nullptr;
    PFNGLDELETEPROGRAMPROC DeleteProgram = nullptr;
};

// The process's table; all null until resolve_glsl_calls has run.
const GlslCalls& glsl_calls();
// Looks the entry points up the first time; true when every one was found.
bool resolve_glsl_calls();
