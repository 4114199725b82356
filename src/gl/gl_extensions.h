#pragma once
// GL extension entry points and the GL start-up step.
//
// Right after the window exists the engine checks the driver for the
// extensions it needs and resolves every extension entry point it calls into
// a process-wide function pointer. The pointers carry the GL entry point's
// own name; they live in namespace ext because the system GL header already
// declares some of those names as functions. A pointer stays null when its
// lookup failed; nothing resets them. Their one table is gl_entry_points.h.
//
// What is indispensable ends the process (frame-buffer and vertex-buffer
// objects with a notice and exit code 0, multitexture with exit code -1);
// everything else only warns on standard error.
#include <GL/gl.h>
#include <GL/glext.h>

#include <string>

#include "gl/gl_entry_points.h"

namespace ext {
using TextureUnitProc = void (*)(GLenum unit);
#define WENDIT_GL_DECLARE(group, type, name) extern type name;
WENDIT_GL_ENTRY_POINTS(WENDIT_GL_DECLARE)
#undef WENDIT_GL_DECLARE
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

// The shader runtime's GL 2.0 entry points (the glsl rows), looked up the
// first time it is called, so the runtime may be used before, or without,
// the start-up step; true when every one was found.
bool resolve_glsl_calls();

// The default GL state every later drawing step assumes.
void init_gl_state();

// Asks the driver for the swap interval (1: wait for vertical retrace) when
// the window system offers it.
void request_swap_interval(int interval);

#include <iosfwd>
// The optional-extension warnings of init_ext_misc for a given extension
// list, written to out.
void report_optional_extensions(const char* list, std::ostream& out);
