#include "support/gl_fixture.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/engine_start.h"
#include "app/init_sdl.h"
#include "gl/gl_extensions.h"
#include "gl/gl_state.h"
#include "platform/WindowConfig.h"
#include "platform/cInputState.h"
#include "render/cRenderTargetManager.h"
#include "shaders/cShaderManager_CG.h"
#include "texture/cResourcePath.h"
#include "texture/cTextureManager.h"

namespace {
pid_t g_xvfb = -1;
bool g_window = false;

bool display_reachable()
{
    const char* d = std::getenv("DISPLAY");
    if (!d || !*d)
        return false;
    Display* dpy = XOpenDisplay(d);
    if (!dpy)
        return false;
    XCloseDisplay(dpy);
    return true;
}

void stop_xvfb()
{
    if (g_xvfb > 0) {
        kill(g_xvfb, SIGTERM);
        waitpid(g_xvfb, nullptr, 0);
        g_xvfb = -1;
    }
}

}  // namespace

pid_t launch_xvfb(std::string& display)
{
    // A display number of our own, away from the low numbers desktops and
    // other servers on the machine use; a number whose lock file exists is
    // taken.
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int n = 300 + int((unsigned(getpid()) * 7919u + unsigned(attempt) * 104729u) % 3000u);
        const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
        if (access(lock.c_str(), F_OK) == 0)
            continue;
        const std::string name = ":" + std::to_string(n);
        pid_t pid = fork();
        if (pid < 0)
            return -1;
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive the test
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1920x1080x24", "-nolisten", "tcp", "-noreset",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 500; ++i) {
            if (waitpid(pid, nullptr, WNOHANG) == pid)
                break;  // it could not start on this number
            if (Display* dpy = XOpenDisplay(name.c_str())) {
                XCloseDisplay(dpy);
                display = name;
                return pid;
            }
            usleep(10000);
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    return -1;
}

namespace {
bool start_xvfb()
{
    std::string display;
    pid_t pid = launch_xvfb(display);
    if (pid <= 0)
        return false;
    g_xvfb = pid;
    std::atexit(stop_xvfb);
    setenv("DISPLAY", display.c_str(), 1);
    return true;
}
}  // namespace

bool ensure_display()
{
    return display_reachable() || (start_xvfb() && display_reachable());
}

void GLTest::SetUp()
{
    if (!g_window) {
        ASSERT_TRUE(ensure_display()) << "no X display and Xvfb could not be started";
        init_sdl(*window_config());
        init_extensions();
        step_show_clock_on_swap();
        g_window = true;
    }
    // Every test starts from the show's default state, whatever the test
    // before it in this process left behind.
    init_gl_state();
    input_state().reset();
    glClearColor(0.f, 0.f, 0.f, 0.f);
    apply_render_viewport();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    read_from_window_draw_buffer();
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "setting up the default state raised a GL error";
    // Tests find their files by name in the directories they push.
    get_resource_path();
}

void GLTest::TearDown()
{
    destroy_shader_manager();
    destroy_texture_manager();
    destroy_rendertarget_manager();
    destroy_resource_path();
    window_config()->renderScale = 1.f;
    while (glGetError() != GL_NO_ERROR) {
    }
}

Rgba GLTest::read_pixel(int x, int y)
{
    unsigned char p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2], p[3]};
}

Rgba GLTest::read_target_pixel(iRenderTarget* target, int x, int y)
{
    target->bind(false);
    Rgba p = read_pixel(x, y);
    target->unbind();
    return p;
}

::testing::AssertionResult near_rgba(const Rgba& got, const Rgba& want, int tol)
{
    auto off = [tol](int a, int b) { return a - b > tol || b - a > tol; };
    if (off(got.r, want.r) || off(got.g, want.g) || off(got.b, want.b) || off(got.a, want.a))
        return ::testing::AssertionFailure() << "got (" << got.r << "," << got.g << "," << got.b << "," << got.a
                                             << ") want (" << want.r << "," << want.g << "," << want.b << ","
                                             << want.a << ") within " << tol;
    return ::testing::AssertionSuccess();
}

PrivateDisplay::PrivateDisplay()
{
    pid = launch_xvfb(name);
}

PrivateDisplay::~PrivateDisplay()
{
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}
