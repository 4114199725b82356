#pragma once
// Every GL entry point the engine resolves at run time, in one table: the
// group it is looked up with, its pointer type and its name. The extension
// loader declares a pointer of that name in namespace ext for each row and
// looks a group's rows up together, in this order:
//   vbo, multitexture, blend, fbo  start-up groups: a miss is reported by name
//   optional                       start-up, missing silently (point sprites)
//   misc                           start-up, reported by name
//   glsl                           the shader runtime's GL 2.0 calls, looked up
//                                  on its first need, silently
// WENDIT_GL_ENTRY_POINTS(X) expands X(group, type, name) once per row.
#include <GL/gl.h>
#include <GL/glext.h>

// glMultiTexCoord{1..4}{d,f,i,s}[v]ARB of one coordinate count.
#define WENDIT_GL_MULTITEX_ROWS(X, n)                                                       \
    X(multitexture, PFNGLMULTITEXCOORD##n##DARBPROC, glMultiTexCoord##n##dARB)              \
    X(multitexture, PFNGLMULTITEXCOORD##n##DVARBPROC, glMultiTexCoord##n##dvARB)            \
    X(multitexture, PFNGLMULTITEXCOORD##n##FARBPROC, glMultiTexCoord##n##fARB)              \
    X(multitexture, PFNGLMULTITEXCOORD##n##FVARBPROC, glMultiTexCoord##n##fvARB)            \
    X(multitexture, PFNGLMULTITEXCOORD##n##IARBPROC, glMultiTexCoord##n##iARB)              \
    X(multitexture, PFNGLMULTITEXCOORD##n##IVARBPROC, glMultiTexCoord##n##ivARB)            \
    X(multitexture, PFNGLMULTITEXCOORD##n##SARBPROC, glMultiTexCoord##n##sARB)              \
    X(multitexture, PFNGLMULTITEXCOORD##n##SVARBPROC, glMultiTexCoord##n##svARB)

#define WENDIT_GL_ENTRY_POINTS(X)                                                           \
    X(vbo, PFNGLBINDBUFFERARBPROC, glBindBufferARB)                                         \
    X(vbo, PFNGLBUFFERDATAARBPROC, glBufferDataARB)                                         \
    X(vbo, PFNGLGENBUFFERSARBPROC, glGenBuffersARB)                                         \
    X(vbo, PFNGLDELETEBUFFERSARBPROC, glDeleteBuffersARB)                                   \
    X(vbo, PFNGLMAPBUFFERARBPROC, glMapBufferARB)                                           \
    X(vbo, PFNGLUNMAPBUFFERARBPROC, glUnmapBufferARB)                                       \
    X(vbo, PFNGLVERTEXATTRIBPOINTERARBPROC, glVertexAttribPointerARB)                       \
    X(vbo, PFNGLGETVERTEXATTRIBPOINTERVARBPROC, glGetVertexAttribPointervARB)               \
    /* the core names take a unit like the ARB ones */                                      \
    X(multitexture, TextureUnitProc, glActiveTexture)                                       \
    X(multitexture, TextureUnitProc, glClientActiveTexture)                                 \
    X(multitexture, PFNGLACTIVETEXTUREARBPROC, glActiveTextureARB)                          \
    X(multitexture, PFNGLCLIENTACTIVETEXTUREARBPROC, glClientActiveTextureARB)              \
    WENDIT_GL_MULTITEX_ROWS(X, 1)                                                           \
    WENDIT_GL_MULTITEX_ROWS(X, 2)                                                           \
    WENDIT_GL_MULTITEX_ROWS(X, 3)                                                           \
    WENDIT_GL_MULTITEX_ROWS(X, 4)                                                           \
    X(blend, PFNGLBLENDEQUATIONEXTPROC, glBlendEquationEXT)                                 \
    X(blend, PFNGLBLENDFUNCSEPARATEPROC, glBlendFuncSeparate)                               \
    X(fbo, PFNGLISRENDERBUFFEREXTPROC, glIsRenderbufferEXT)                                 \
    X(fbo, PFNGLBINDRENDERBUFFEREXTPROC, glBindRenderbufferEXT)                             \
    X(fbo, PFNGLDELETERENDERBUFFERSEXTPROC, glDeleteRenderbuffersEXT)                       \
    X(fbo, PFNGLGENRENDERBUFFERSEXTPROC, glGenRenderbuffersEXT)                             \
    X(fbo, PFNGLRENDERBUFFERSTORAGEEXTPROC, glRenderbufferStorageEXT)                       \
    X(fbo, PFNGLGETRENDERBUFFERPARAMETERIVEXTPROC, glGetRenderbufferParameterivEXT)         \
    X(fbo, PFNGLISFRAMEBUFFEREXTPROC, glIsFramebufferEXT)                                   \
    X(fbo, PFNGLBINDFRAMEBUFFEREXTPROC, glBindFramebufferEXT)                               \
    X(fbo, PFNGLDELETEFRAMEBUFFERSEXTPROC, glDeleteFramebuffersEXT)                         \
    X(fbo, PFNGLGENFRAMEBUFFERSEXTPROC, glGenFramebuffersEXT)                               \
    X(fbo, PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC, glCheckFramebufferStatusEXT)                 \
    X(fbo, PFNGLFRAMEBUFFERTEXTURE1DEXTPROC, glFramebufferTexture1DEXT)                     \
    X(fbo, PFNGLFRAMEBUFFERTEXTURE2DEXTPROC, glFramebufferTexture2DEXT)                     \
    X(fbo, PFNGLFRAMEBUFFERTEXTURE3DEXTPROC, glFramebufferTexture3DEXT)                     \
    X(fbo, PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC, glFramebufferRenderbufferEXT)               \
    X(fbo, PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVEXTPROC, glGetFramebufferAttachmentParameterivEXT) \
    X(fbo, PFNGLGENERATEMIPMAPEXTPROC, glGenerateMipmapEXT)                                 \
    X(fbo, PFNGLDRAWBUFFERSARBPROC, glDrawBuffersARB)                                       \
    X(optional, PFNGLPOINTPARAMETERFARBPROC, glPointParameterfARB)                          \
    X(optional, PFNGLPOINTPARAMETERFVARBPROC, glPointParameterfvARB)                        \
    X(misc, PFNGLDRAWRANGEELEMENTSPROC, glDrawRangeElements)                                \
    X(glsl, PFNGLCREATESHADERPROC, glCreateShader)                                          \
    X(glsl, PFNGLSHADERSOURCEPROC, glShaderSource)                                          \
    X(glsl, PFNGLCOMPILESHADERPROC, glCompileShader)                                        \
    X(glsl, PFNGLGETSHADERIVPROC, glGetShaderiv)                                            \
    X(glsl, PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)                                  \
    X(glsl, PFNGLCREATEPROGRAMPROC, glCreateProgram)                                        \
    X(glsl, PFNGLATTACHSHADERPROC, glAttachShader)                                          \
    X(glsl, PFNGLLINKPROGRAMPROC, glLinkProgram)                                            \
    X(glsl, PFNGLGETPROGRAMIVPROC, glGetProgramiv)                                          \
    X(glsl, PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog)                                \
    X(glsl, PFNGLUSEPROGRAMPROC, glUseProgram)                                              \
    X(glsl, PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)                              \
    X(glsl, PFNGLGETACTIVEUNIFORMPROC, glGetActiveUniform)                                  \
    X(glsl, PFNGLUNIFORM1FVPROC, glUniform1fv)                                              \
    X(glsl, PFNGLUNIFORM2FVPROC, glUniform2fv)                                              \
    X(glsl, PFNGLUNIFORM3FVPROC, glUniform3fv)                                              \
    X(glsl, PFNGLUNIFORM4FVPROC, glUniform4fv)                                              \
    X(glsl, PFNGLUNIFORM1IPROC, glUniform1i)                                                \
    X(glsl, PFNGLDELETESHADERPROC, glDeleteShader)                                          \
    X(glsl, PFNGLDELETEPROGRAMPROC, glDeleteProgram)

// The groups, in the order of the table.
enum class eGlGroup { vbo, multitexture, blend, fbo, optional, misc, glsl };
