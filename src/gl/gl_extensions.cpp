#include "gl/gl_extensions.h"

#include <GL/glu.h>
#include <SDL/SDL.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "platform/WindowConfig.h"
#include "platform/terminal_prompt.h"
#include "util/fatal_exit.h"

namespace ext {
PFNGLBINDBUFFERARBPROC glBindBufferARB = nullptr;
PFNGLBUFFERDATAARBPROC glBufferDataARB = nullptr;
PFNGLGENBUFFERSARBPROC glGenBuffersARB = nullptr;
PFNGLDELETEBUFFERSARBPROC glDeleteBuffersARB = nullptr;
PFNGLMAPBUFFERARBPROC glMapBufferARB = nullptr;
PFNGLUNMAPBUFFERARBPROC glUnmapBufferARB = nullptr;
PFNGLVERTEXATTRIBPOINTERARBPROC glVertexAttribPointerARB = nullptr;
PFNGLGETVERTEXATTRIBPOINTERVARBPROC glGetVertexAttribPointervARB = nullptr;

TextureUnitProc glActiveTexture = nullptr;
TextureUnitProc glClientActiveTexture = nullptr;
PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
PFNGLCLIENTACTIVETEXTUREARBPROC glClientActiveTextureARB = nullptr;
#define WENDIT_MULTITEX_DEF(n, t, T)                                            \
    PFNGLMULTITEXCOORD##n##T##ARBPROC glMultiTexCoord##n##t##ARB = nullptr; \
    PFNGLMULTITEXCOORD##n##T##VARBPROC glMultiTexCoord##n##t##vARB = nullptr;
#define WENDIT_MULTITEX_ALL(n) \
    WENDIT_MULTITEX_DEF(n, d, D) WENDIT_MULTITEX_DEF(n, f, F) WENDIT_MULTITEX_DEF(n, i, I) WENDIT_MULTITEX_DEF(n, s, S)
WENDIT_MULTITEX_ALL(1)
WENDIT_MULTITEX_ALL(2)
WENDIT_MULTITEX_ALL(3)
WENDIT_MULTITEX_ALL(4)
#undef WENDIT_MULTITEX_ALL
#undef WENDIT_MULTITEX_DEF

PFNGLBLENDEQUATIONEXTPROC glBlendEquationEXT = nullptr;
PFNGLBLENDFUNCSEPARATEPROC glBlendFuncSeparate = nullptr;

PFNGLISRENDERBUFFEREXTPROC glIsRenderbufferEXT = nullptr;
PFNGLBINDRENDERBUFFEREXTPROC glBindRenderbufferEXT = nullptr;
PFNGLDELETERENDERBUFFERSEXTPROC glDeleteRenderbuffersEXT = nullptr;
PFNGLGENRENDERBUFFERSEXTPROC glGenRenderbuffersEXT = nullptr;
PFNGLRENDERBUFFERSTORAGEEXTPROC glRenderbufferStorageEXT = nullptr;
PFNGLGETRENDERBUFFERPARAMETERIVEXTPROC glGetRenderbufferParameterivEXT = nullptr;
PFNGLISFRAMEBUFFEREXTPROC glIsFramebufferEXT = nullptr;
PFNGLBINDFRAMEBUFFEREXTPROC glBindFramebufferEXT = nullptr;
PFNGLDELETEFRAMEBUFFERSEXTPROC glDeleteFramebuffersEXT = nullptr;
PFNGLGENFRAMEBUFFERSEXTPROC glGenFramebuffersEXT = nullptr;
PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC glCheckFramebufferStatusEXT = nullptr;
PFNGLFRAMEBUFFERTEXTURE1DEXTPROC glFramebufferTexture1DEXT = nullptr;
PFNGLFRAMEBUFFERTEXTURE2DEXTPROC glFramebufferTexture2DEXT = nullptr;
PFNGLFRAMEBUFFERTEXTURE3DEXTPROC glFramebufferTexture3DEXT = nullptr;
PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC glFramebufferRenderbufferEXT = nullptr;
PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVEXTPROC glGetFramebufferAttachmentParameterivEXT = nullptr;
PFNGLGENERATEMIPMAPEXTPROC glGenerateMipmapEXT = nullptr;
PFNGLDRAWBUFFERSARBPROC glDrawBuffersARB = nullptr;

PFNGLPOINTPARAMETERFARBPROC glPointParameterfARB = nullptr;
PFNGLPOINTPARAMETERFVARBPROC glPointParameterfvARB = nullptr;
PFNGLDRAWRANGEELEMENTSPROC glDrawRangeElements = nullptr;
SwapIntervalProc glXSwapInterval = nullptr;
}  // namespace ext

namespace {
// Looks an entry point up; a miss is reported by name unless silent.
template <typename P>
void load(P& pointer, const char* name, bool silent = false)
{
    pointer = reinterpret_cast<P>(SDL_GL_GetProcAddress(name));
    if (!pointer && !silent)
        std::cerr << name << " not initialized" << std::endl;
}
#define LOAD(p) load(ext::p, #p)

// The frame-buffer and vertex-buffer groups cannot be done without: close
// the window, tell the person, and end quietly.
[[noreturn]] void missing_indispensable(const char* warning, const char* text, const char* caption)
{
    std::cerr << warning << std::endl;
    window_config();
    SDL_Quit();
    show_notice(text, caption);
    end_process(1);
}

const char* extension_string()
{
    const GLubyte* s = glGetString(GL_EXTENSIONS);
    return s ? reinterpret_cast<const char*>(s) : "";
}
}  // namespace

bool extension_list_has(const char* list, const char* name)
{
    if (!list || !name)
        return false;
    const size_t want = std::strlen(name);
    if (want == 0)
        return false;
    const size_t total = std::strlen(list);
    size_t pos = 0;
    while (pos < total) {
        const char* token = list + pos;
        size_t n = std::strcspn(token, " ");
        if (n == want && std::strncmp(token, name, n) == 0)
            return true;
        pos += n + 1;
    }
    return false;
}

bool has_gl_extension(const char* name)
{
    return extension_list_has(extension_string(), name);
}

bool check_gl_error(const std::string& label)
{
    GLenum code = glGetError();
    if (code == GL_NO_ERROR)
        return false;
    std::cerr << "## ERROR: OpenGL ";
    if (!label.empty())
        std::cerr << " " << label;
    const GLubyte* text = gluErrorString(code);
    std::cerr << ": " << (text ? reinterpret_cast<const char*>(text) : "unknown error") << std::endl;
    return true;
}

void init_ext_vbo()
{
    if (!has_gl_extension("GL_ARB_vertex_buffer_object"))
        missing_indispensable("# WARNING: GL_ARB_vertex_buffer_object not supported",
                              "GL_ARB_vertex_buffer_object is missing\n(you probably need newer hardware)",
                              "missing gl-extension");
    LOAD(glBindBufferARB);
    LOAD(glBufferDataARB);
    LOAD(glGenBuffersARB);
    LOAD(glDeleteBuffersARB);
    LOAD(glMapBufferARB);
    LOAD(glUnmapBufferARB);
    LOAD(glVertexAttribPointerARB);
    LOAD(glGetVertexAttribPointervARB);
}

void init_ext_multitexture()
{
    if (!has_gl_extension("GL_ARB_multitexture")) {
        std::cerr << "# WARNING: GL_ARB_multitexture not supported" << std::endl;
        end_process(-1);
    }
    LOAD(glActiveTexture);
    LOAD(glClientActiveTexture);
    LOAD(glActiveTextureARB);
    LOAD(glClientActiveTextureARB);
#define WENDIT_MULTITEX_LOAD(n) \
    LOAD(glMultiTexCoord##n##dARB); LOAD(glMultiTexCoord##n##dvARB); \
    LOAD(glMultiTexCoord##n##fARB); LOAD(glMultiTexCoord##n##fvARB); \
    LOAD(glMultiTexCoord##n##iARB); LOAD(glMultiTexCoord##n##ivARB); \
    LOAD(glMultiTexCoord##n##sARB); LOAD(glMultiTexCoord##n##svARB);
    WENDIT_MULTITEX_LOAD(1)
    WENDIT_MULTITEX_LOAD(2)
    WENDIT_MULTITEX_LOAD(3)
    WENDIT_MULTITEX_LOAD(4)
#undef WENDIT_MULTITEX_LOAD
}

void init_ext_blend()
{
    LOAD(glBlendEquationEXT);
    LOAD(glBlendFuncSeparate);
}

void init_ext_fbo()
{
    if (!has_gl_extension("GL_EXT_framebuffer_object"))
        missing_indispensable("# WARNING: GL_EXT_framebuffer_object not supported",
                              "GL_EXT_framebuffer_object is missing\n(you probably just need a driver-update...)",
                              "wdt::slw - missing gl-extension");
    if (!has_gl_extension("GL_ARB_draw_buffers"))
        std::cerr << "# WARNING: GL_ARB_draw_buffers not supported" << std::endl;
    LOAD(glIsRenderbufferEXT);
    LOAD(glBindRenderbufferEXT);
    LOAD(glDeleteRenderbuffersEXT);
    LOAD(glGenRenderbuffersEXT);
    LOAD(glRenderbufferStorageEXT);
    LOAD(glGetRenderbufferParameterivEXT);
    LOAD(glIsFramebufferEXT);
    LOAD(glBindFramebufferEXT);
    LOAD(glDeleteFramebuffersEXT);
    LOAD(glGenFramebuffersEXT);
    LOAD(glCheckFramebufferStatusEXT);
    LOAD(glFramebufferTexture1DEXT);
    LOAD(glFramebufferTexture2DEXT);
    LOAD(glFramebufferTexture3DEXT);
    LOAD(glFramebufferRenderbufferEXT);
    LOAD(glGetFramebufferAttachmentParameterivEXT);
    LOAD(glGenerateMipmapEXT);
    LOAD(glDrawBuffersARB);
}

void report_optional_extensions(const char* list, std::ostream& out)
{
    auto warn_absent = [&](const char* name, const char* line) {
        if (!extension_list_has(list, name))
            out << line << std::endl;
    };
    warn_absent("GL_SGIS_texture_lod", "# WARNING: GL_SGIS_texture_lod not supported");
    warn_absent("GL_SGIS_generate_mipmap", "# WARNING: GL_SGIS_generate_mipmap not supported");
    warn_absent("GL_ARB_texture_env_add", "# WARNING: GL_ARB_texture_env_add not supported");
    warn_absent("GL_EXT_texture_lod_bias", "# WARNING: EXT_texture_lod_bias not supported");
    warn_absent("GL_ARB_texture_float", "# WARNING: GL_ARB_texture_float not supported");
    if (!extension_list_has(list, "GL_ARB_texture_rectangle")) {
        out << "# WARNING: GL_ARB_texture_rectangle not supported" << std::endl;
        if (extension_list_has(list, "GL_EXT_texture_rectangle"))
            out << "           GL_EXT_texture_rectangle supported though" << std::endl;
        else
            out << "# WARNING: GL_EXT_texture_rectangle not supported" << std::endl;
    }
    warn_absent("GL_ARB_multisample", "# WARNING: GL_ARB_multisample not supported");
    warn_absent("GL_ARB_texture_non_power_of_two",
                "# WARNING: GL_ARB_texture_non_power_of_two not supported!");
    warn_absent("GL_ARB_pixel_buffer_object",
                "# WARNING: \tGL_ARB_pixel_buffer_object not supported! (go bug your hardware-vendor)");
    warn_absent("GL_ARB_point_sprite",
                "# WARNING: \tGL_ARB_point_sprite not supported! (go bug your hardware-vendor)");
}

void init_ext_misc()
{
    report_optional_extensions(extension_string(), std::cerr);
    load(ext::glPointParameterfARB, "glPointParameterfARB", true);
    load(ext::glPointParameterfvARB, "glPointParameterfvARB", true);
    LOAD(glDrawRangeElements);
    load(ext::glXSwapInterval, "glXSwapIntervalMESA", true);
    if (!ext::glXSwapInterval)
        load(ext::glXSwapInterval, "glXSwapIntervalSGI", true);
}

void init_extensions()
{
    init_ext_vbo();
    init_ext_multitexture();
    init_ext_blend();
    init_ext_fbo();
    init_ext_misc();
}

void init_gl_state()
{
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glAlphaFunc(GL_ALWAYS, 0.0f);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glDepthFunc(GL_LESS);
    glEnable(GL_DEPTH_TEST);
    glFrontFace(GL_CCW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glShadeModel(GL_SMOOTH);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_MULTISAMPLE_ARB);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_1D);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glBindTexture(GL_TEXTURE_1D, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 0);
    glEnable(GL_LIGHTING);
    const GLfloat ambient[4] = {0.1f, 0.1f, 0.1f, 0.1f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    glEnable(GL_COLOR_SUM);
    glDisable(GL_COLOR_MATERIAL);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    check_gl_error("init_gl_state");
}

void request_swap_interval(int interval)
{
    if (ext::glXSwapInterval)
        ext::glXSwapInterval(interval);
}
