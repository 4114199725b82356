#pragma once
// GL extension entry points and the GL start-up step.
//
// Right after the window exists the engine checks the driver for the
// extensions it needs and resolves every extension entry point it calls into
// a process-wide function pointer. The pointers carry the GL entry point's
// own name; they live in namespace ext because the system GL header already
// declares some of those names as functions. A pointer stays null when its
// lookup failed; nothing resets them.
//
// What is indispensable ends the process (frame-buffer and vertex-buffer
// objects with a notice and exit code 0, multitexture with exit code -1);
// everything else only warns on standard error.
#include <GL/gl.h>
#include <GL/glext.h>

#include <string>

namespace ext {
// vertex-buffer objects
extern PFNGLBINDBUFFERARBPROC glBindBufferARB;
extern PFNGLBUFFERDATAARBPROC glBufferDataARB;
extern PFNGLGENBUFFERSARBPROC glGenBuffersARB;
extern PFNGLDELETEBUFFERSARBPROC glDeleteBuffersARB;
extern PFNGLMAPBUFFERARBPROC glMapBufferARB;
extern PFNGLUNMAPBUFFERARBPROC glUnmapBufferARB;
extern PFNGLVERTEXATTRIBPOINTERARBPROC glVertexAttribPointerARB;
extern PFNGLGETVERTEXATTRIBPOINTERVARBPROC glGetVertexAttribPointervARB;

// multitexture (the core names take a unit like the ARB ones)
using TextureUnitProc = void (*)(GLenum unit);
extern TextureUnitProc glActiveTexture;
extern TextureUnitProc glClientActiveTexture;
extern PFNGLACTIVETEXTUREARBPROC glActiveTextureARB;
extern PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB;
#define WENDIT_MULTITEX_DECL(n, t, T)                                  \
    extern PFNGLMULTITEXCOORD##n##T##ARBPROC glMultiTexCoord##n##t##ARB; \
    extern PFNGLMULTITEXCOORD##n##T##VARBPROC glMultiTexCoord##n##t##vARB;
#define WENDIT_MULTITEX_ALL(n) \
    WENDIT_MULTITEX_DECL(n, d, D) WENDIT_MULTITEX_DECL(n, f, F) WENDIT_MULTITEX_DECL(n, i, I) WENDIT_MULTITEX_DECL(n, s, S)
WENDIT_MULTITEX_ALL(1)
WENDIT_MULTITEX_ALL(2)
WENDIT_MULTITEX_ALL(3)
WENDIT_MULTITEX_ALL(4)
#undef WENDIT_MULTITEX_ALL
#undef WENDIT_MULTITEX_DECL

// blending
extern PFNGLBLENDEQUATIONEXTPROC glBlendEquationEXT;
extern PFNGLBLENDFUNCSEPARATEPROC glBlendFuncSeparate;

// frame-buffer objects
extern PFNGLISRENDERBUFFEREXTPROC glIsRenderbufferEXT;
extern PFNGLBINDRENDERBUFFEREXTPROC glBindRenderbufferEXT;
extern PFNGLDELETERENDERBUFFERSEXTPROC glDeleteRenderbuffersEXT;
extern PFNGLGENRENDERBUFFERSEXTPROC glGenRenderbuffersEXT;
extern PFNGLRENDERBUFFERSTORAGEEXTPROC glRenderbufferStorageEXT;
extern PFNGLGETRENDERBUFFERPARAMETERIVEXTPROC glGetRenderbufferParameterivEXT;
extern PFNGLISFRAMEBUFFEREXTPROC glIsFramebufferEXT;
extern PFNGLBINDFRAMEBUFFEREXTPROC glBindFramebufferEXT;
extern PFNGLDELETEFRAMEBUFFERSEXTPROC glDeleteFramebuffersEXT;
extern PFNGLGENFRAMEBUFFERSEXTPROC glGenFramebuffersEXT;
extern PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC glCheckFramebufferStatusEXT;
extern PFNGLFRAMEBUFFERTEXTURE1DEXTPROC glFramebufferTexture1DEXT;
extern PFNGLFRAMEBUFFERTEXTURE2DEXTPROC glFramebufferTexture2DEXT;
extern PFNGLFRAMEBUFFERTEXTURE3DEXTPROC glFramebufferTexture3DEXT;
extern PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC glFramebufferRenderbufferEXT;
extern PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVEXTPROC glGetFramebufferAttachmentParameterivEXT;
extern PFNGLGENERATEMIPMAPEXTPROC glGenerateMipmapEXT;
extern PFNGLDRAWBUFFERSARBPROC glDrawBuffersARB;

// miscellaneous
extern PFNGLPOINTPARAMETERFARBPROC glPointParameterfARB;
extern PFNGLPOINTPARAMETERFVARBPROC glPointParameterfvARB;
extern PFNGLDRAWRANGEELEMENTSPROC glDrawRangeElements;
// The swap-interval entry point of the window system (GLX: the MESA or SGI
// variant, whichever the driver offers); null when neither exists.
using SwapIntervalProc = int (*)(int interval);
extern SwapIntervalProc glXSwapInterval;
}  // namespace ext

// True when name is a whole token of the extension list.
bool has_gl_extension(const char* name);
// The same test on a given extension list (as glGetString returns it).
bool extension_list_has(const char* list, const char* name);

// Reports one pending GL error on standard error; true when there was one.
bool check_gl_error(const std::string& label);

void init_ext_vbo();
void init_ext_multitexture();
void init_ext_blend();
void init_ext_fbo();
void init_ext_misc();
// The five loaders in that order.
void init_extensions();

// The default GL state every later drawing step assumes.
void init_gl_state();

// Asks the driver for the swap interval (1: wait for vertical retrace) when
// the window system offers it.
void request_swap_interval(int interval);

#include <iosfwd>
// The optional-extension warnings of init_ext_misc for a given extension
// list, written to out.
void report_optional_extensions(const char* list, std::ostream& out);
