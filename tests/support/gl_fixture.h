#pragma once
// The one GL fixture of the test suite: a real GL context from Mesa's
// software renderer in an X server without a screen (Xvfb).
//
// test.sh starts one Xvfb for the whole run and exports DISPLAY; when no
// display is reachable (running engine_tests by hand), the first fixture
// starts a private Xvfb for this process. The window is the show's own
// 1280x720 window, opened once per process through init_sdl; extensions
// and the default GL state are loaded as at start-up. Every test starts
// with no render-target pool, texture manager, shader manager or resource
// path, and they are deleted again after it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

struct Rgba {
    int r, g, b, a;
};

class GLTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // One pixel of the currently bound read buffer (window back buffer or
    // bound render target), y counted from the bottom.
    static Rgba read_pixel(int x, int y);
    // The same for the colour texture of a render target.
    static Rgba read_target_pixel(class iRenderTarget* target, int x, int y);
};

// Makes sure DISPLAY points at a reachable X server (starting Xvfb when
// needed). False when none can be had.
bool ensure_display();

// Starts an Xvfb of its own (display number picked by the server); the
// display name goes to `display`. Returns its process id, or -1.
#include <sys/types.h>
pid_t launch_xvfb(std::string& display);

// An X server for one test alone, stopped with the object.
class PrivateDisplay {
public:
    PrivateDisplay();
    ~PrivateDisplay();
    bool ok() const { return pid > 0; }
    std::string name;
    pid_t pid = -1;
};

// |a - b| <= tol for each channel.
::testing::AssertionResult near_rgba(const Rgba& got, const Rgba& want, int tol);
