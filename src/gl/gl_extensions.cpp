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
#define WENDIT_GL_DEFINE(group, type, name) type name = nullptr;
WENDIT_GL_ENTRY_POINTS(WENDIT_GL_DEFINE)
#undef WENDIT_GL_DEFINE
SwapIntervalProc glXSwapInterval = nullptr;
}  // namespace ext

namespace {
// A row of the table, with what stores a found address in its pointer.
struct EntryPoint {
    eGlGroup group;
    const char* name;
    void (*store)(void* address);
};
const EntryPoint ENTRY_POINTS[] = {
#define WENDIT_GL_ROW(group, type, name) \
    {eGlGroup::group, #name, [](void* address) { ext::name = reinterpret_cast<decltype(ext::name)>(address); }},
    WENDIT_GL_ENTRY_POINTS(WENDIT_GL_ROW)
#undef WENDIT_GL_ROW
};

// Looks every entry point of a group up, in the table's order; a miss is
// reported by name unless silent. True when each one was found.
bool load_group(eGlGroup group, bool silent)
{
    bool all = true;
    for (const EntryPoint& e : ENTRY_POINTS) {
        if (e.group != group)
            continue;
        void* address = SDL_GL_GetProcAddress(e.name);
        e.store(address);
        if (!address && !silent)
            std::cerr << e.name << " not initialized" << std::endl;
        all = all && address != nullptr;
    }
    return all;
}

// The window system's swap interval, by either of its names.
template <typename P>
void load(P& pointer, const char* name)
{
    pointer = reinterpret_cast<P>(SDL_GL_GetProcAddress(name));
}

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
    load_group(eGlGroup::vbo, false);
}

void init_ext_multitexture()
{
    if (!has_gl_extension("GL_ARB_multitexture")) {
        std::cerr << "# WARNING: GL_ARB_multitexture not supported" << std::endl;
        end_process(-1);
    }
    load_group(eGlGroup::multitexture, false);
}

void init_ext_blend()
{
    load_group(eGlGroup::blend, false);
}

void init_ext_fbo()
{
    if (!has_gl_extension("GL_EXT_framebuffer_object"))
        missing_indispensable("# WARNING: GL_EXT_framebuffer_object not supported",
                              "GL_EXT_framebuffer_object is missing\n(you probably just need a driver-update...)",
                              "wdt::slw - missing gl-extension");
    if (!has_gl_extension("GL_ARB_draw_buffers"))
        std::cerr << "# WARNING: GL_ARB_draw_buffers not supported" << std::endl;
    load_group(eGlGroup::fbo, false);
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
    load_group(eGlGroup::optional, true);
    load_group(eGlGroup::misc, false);
    load(ext::glXSwapInterval, "glXSwapIntervalMESA");
    if (!ext::glXSwapInterval)
        load(ext::glXSwapInterval, "glXSwapIntervalSGI");
}

bool resolve_glsl_calls()
{
    static const bool complete = load_group(eGlGroup::glsl, true);
    return complete;
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
