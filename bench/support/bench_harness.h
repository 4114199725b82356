#pragma once
// What the benchmarks share: where the repository and its data tree are,
// the window and GL context through the engine's start-up, quiet shader
// compiles, the timing loops and the one result format (bench_timing.h,
// bench_report.h), a plain copy (the floor every pass ratio is taken
// against) and pictures of targets and of the window as PNG files.
#include <string>

#include "support/bench_report.h"
#include "support/bench_timing.h"

class iRenderTarget;

namespace bench {
// The repository the running benchmark was built in (build/bench/NAME),
// and its baked data tree.
std::string repository();
std::string data_tree();

// The command line of the scene benchmarks, [ITERATIONS] [--frames DIR]:
// the timed calls (at least 1; `iterations` when not given) and the
// directory their pictures go to ("" for none).
struct SceneArgs {
    int iterations;
    std::string frames;
};
SceneArgs scene_args(int argc, char** argv, int iterations);

// True when an X display is named; otherwise says so, naming the program.
bool require_display(const char* program);

// Opens the show's window (1280x720) through the engine's start-up, with
// no exit hook and no resource paths: GL extensions, default GL state, the
// render-target pool (its warnings at demo time 0). Without an X display
// it says so (require_display) and returns false.
bool open_gl_window(const char* program);

// The repository's shader sources (src/shaders, src/shaders/comp) on the
// resource path, and with data also the baked tree's data, models and
// textures directories.
void push_repository_paths(bool data);
// Starts the shader runtime and compiles every shader class, the
// compiler's reports silenced; the milliseconds it took, the GL pipeline
// drained.
double compile_shaders_quietly();

// A standard stream (2: error, 1: output) silenced while it lives, or
// until end(): the shader compiler's reports, a reader's progress lines.
class QuietStream {
public:
    explicit QuietStream(int fd);
    ~QuietStream() { end(); }
    void end();
    QuietStream(const QuietStream&) = delete;
    QuietStream& operator=(const QuietStream&) = delete;

private:
    int m_fd;
    int m_saved;
    int m_null;
};
struct QuietStderr : QuietStream {
    QuietStderr() : QuietStream(2) {}
};
struct QuietStdout : QuietStream {
    QuietStdout() : QuietStream(1) {}
};

// A plain copy of src into dst: the unit the passes' costs are measured in.
void copy_into(iRenderTarget* dst, iRenderTarget* src);
// Writes the target's picture as a 24-bit PNG file; false when it cannot.
bool save_png(iRenderTarget* t, const std::string& path);
// Writes the window's back buffer (what the next swap presents) as a
// 24-bit PNG file; false when it cannot.
bool save_back_buffer_png(const std::string& path);
}  // namespace bench
