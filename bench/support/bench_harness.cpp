#include "support/bench_harness.h"

#include <FreeImage.h>
#include <GL/gl.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "app/engine_start.h"
#include "platform/WindowConfig.h"
#include "post/register_all.h"
#include "render/cRenderTargetManager.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"
#include "texture/cResourcePath.h"

namespace bench {

std::string repository()
{
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string p = n > 0 ? std::string(self, size_t(n)) : std::string();
    for (int i = 0; i < 3; ++i)
        p = p.substr(0, p.rfind('/'));
    return p;
}

std::string data_tree()
{
    return repository() + "/data";
}

SceneArgs scene_args(int argc, char** argv, int iterations)
{
    SceneArgs a{iterations, ""};
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--frames" && i + 1 < argc)
            a.frames = argv[++i];
        else
            a.iterations = std::max(1, std::atoi(argv[i]));
    }
    return a;
}

bool require_display(const char* program)
{
    if (std::getenv("DISPLAY"))
        return true;
    std::fprintf(stderr, "%s: no X display; run it under scripts/with_display.sh\n", program);
    return false;
}

bool open_gl_window(const char* program)
{
    if (!require_display(program))
        return false;
    EngineStart start;
    start.exitHook = false;
    start.resourcePaths = false;
    std::string error;
    start_engine(start, error);
    get_rendertarget_manager()->demo_time = [] { return 0; };
    return true;
}

void push_repository_paths(bool data)
{
    cResourcePath* rp = get_resource_path();
    rp->push_searchpath(repository() + "/src/shaders");
    rp->push_searchpath(repository() + "/src/shaders/comp");
    if (data)
        for (const char* dir : {"", "/models", "/textures"})
            rp->push_searchpath(data_tree() + dir);
}

double compile_shaders_quietly()
{
    QuietStderr quiet;
    const Clock::time_point t = Clock::now();
    get_shader_manager()->init_cg();
    register_all_shaders();
    glFinish();
    return ms_since(t);
}

QuietStream::QuietStream(int fd) : m_fd(fd), m_saved(-1), m_null(-1)
{
    std::fflush(fd == 1 ? stdout : stderr);
    std::cout.flush();
    m_saved = dup(fd);
    m_null = open("/dev/null", O_WRONLY);
    dup2(m_null, fd);
}

void QuietStream::end()
{
    if (m_saved < 0)
        return;
    std::fflush(m_fd == 1 ? stdout : stderr);
    std::cout.flush();
    std::cerr.flush();
    dup2(m_saved, m_fd);
    close(m_saved);
    close(m_null);
    m_saved = m_null = -1;
}

void copy_into(iRenderTarget* dst, iRenderTarget* src)
{
    dst->bind(false);
    draw_target(src);
    dst->unbind();
}

namespace {
// The bound framebuffer's pixels (rows from the bottom up, as GL has them)
// as a 24-bit PNG file.
bool save_bound_png(unsigned width, unsigned height, const std::string& path)
{
    std::vector<unsigned char> rgba(size_t(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, GLsizei(width), GLsizei(height), GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    FIBITMAP* image = FreeImage_Allocate(int(width), int(height), 24);
    if (!image)
        return false;
    for (unsigned y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(image, int(y));
        for (unsigned x = 0; x < width; ++x) {
            const unsigned char* p = &rgba[(size_t(y) * width + x) * 4];
            row[3 * x + FI_RGBA_RED] = p[0];
            row[3 * x + FI_RGBA_GREEN] = p[1];
            row[3 * x + FI_RGBA_BLUE] = p[2];
        }
    }
    const bool ok = FreeImage_Save(FIF_PNG, image, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(image);
    return ok;
}
}  // namespace

bool save_png(iRenderTarget* t, const std::string& path)
{
    t->bind(false);
    const bool ok = save_bound_png(t->width, t->height, path);
    t->unbind();
    return ok;
}

bool save_back_buffer_png(const std::string& path)
{
    const WindowConfig* w = window_config();
    return save_bound_png(unsigned(w->width), unsigned(w->height), path);
}

}  // namespace bench
