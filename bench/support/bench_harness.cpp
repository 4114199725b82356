#include "support/bench_harness.h"

#include <FreeImage.h>
#include <GL/gl.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/init_sdl.h"
#include "gl/gl_extensions.h"
#include "platform/WindowConfig.h"
#include "render/cRenderTargetManager.h"
#include "render/quad.h"

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

double ms_since(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

double time_per_call(const std::function<void()>& f, int iterations)
{
    f();
    glFinish();
    const Clock::time_point t = Clock::now();
    for (int i = 0; i < iterations; ++i)
        f();
    glFinish();
    return ms_since(t) / iterations;
}

bool open_gl_window(const char* program)
{
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "%s: no X display; run it under scripts/with_display.sh\n", program);
        return false;
    }
    init_sdl(*window_config());
    init_extensions();
    init_gl_state();
    get_rendertarget_manager()->demo_time = [] { return 0; };
    return true;
}

QuietStderr::QuietStderr() : m_saved(dup(2)), m_null(open("/dev/null", O_WRONLY))
{
    dup2(m_null, 2);
}

void QuietStderr::end()
{
    if (m_saved < 0)
        return;
    dup2(m_saved, 2);
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

bool save_png(iRenderTarget* t, const std::string& path)
{
    std::vector<unsigned char> rgba(size_t(t->width) * t->height * 4);
    t->bind(false);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, GLsizei(t->width), GLsizei(t->height), GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    t->unbind();
    FIBITMAP* image = FreeImage_Allocate(int(t->width), int(t->height), 24);
    if (!image)
        return false;
    for (unsigned y = 0; y < t->height; ++y) {
        BYTE* row = FreeImage_GetScanLine(image, int(y));
        for (unsigned x = 0; x < t->width; ++x) {
            const unsigned char* p = &rgba[(size_t(y) * t->width + x) * 4];
            row[3 * x + FI_RGBA_RED] = p[0];
            row[3 * x + FI_RGBA_GREEN] = p[1];
            row[3 * x + FI_RGBA_BLUE] = p[2];
        }
    }
    const bool ok = FreeImage_Save(FIF_PNG, image, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(image);
    return ok;
}

}  // namespace bench
