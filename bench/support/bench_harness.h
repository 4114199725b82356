#pragma once
// What the GL benchmarks share: where the repository is, the window and GL
// context in the show's default state, quiet shader compiles, the timing
// loop, a plain copy (the floor every ratio is taken against) and pictures
// of targets as PNG files.
#include <chrono>
#include <functional>
#include <string>

class iRenderTarget;

namespace bench {
using Clock = std::chrono::steady_clock;

// The repository the running benchmark was built in (build/bench/NAME).
std::string repository();

double ms_since(Clock::time_point t);
// Milliseconds per call, the GL pipeline drained before and after; one call
// first, untimed (shader variants, texture residency).
double time_per_call(const std::function<void()>& f, int iterations);

// Opens the show's window (1280x720) with its GL context: extensions,
// default GL state, the render-target pool (its warnings at demo time 0).
// Without an X display it says so, naming the program, and returns false.
bool open_gl_window(const char* program);

// Standard error silenced while it lives, or until end() (the shader
// compiler's reports).
class QuietStderr {
public:
    QuietStderr();
    ~QuietStderr() { end(); }
    void end();
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int m_saved;
    int m_null;
};

// A plain copy of src into dst: the unit the passes' costs are measured in.
void copy_into(iRenderTarget* dst, iRenderTarget* src);
// Writes the target's picture as a 24-bit PNG file; false when it cannot.
bool save_png(iRenderTarget* t, const std::string& path);
}  // namespace bench
