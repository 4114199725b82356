// Capture throughput: `wendit capture` of a stretch of the show (read-back
// through pixel-buffer objects, H.264/AAC encoding on the worker thread)
// against the plain render loop over the very same frames (no read-back, no
// encoding). Each run is a process of its own, as the show's set-up is once
// per process; plain and capture runs alternate and the best of each counts.
//
//   cd bin && ../scripts/with_display.sh ../build/bench/bench_capture [RUNS] [FROM] [TO] [WxH]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture/capture_run.h"

namespace {
// Frames per second of one run in a child process; 0 on failure.
double run_once(const std::vector<std::string>& args, bool renderOnly)
{
    int fds[2];
    if (pipe(fds) != 0)
        return 0.0;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        CaptureStats stats;
        const int code = run_capture(args, renderOnly, &stats);
        const double fps = code == 0 && stats.seconds > 0 ? double(stats.frames) / stats.seconds : 0.0;
        if (write(fds[1], &fps, sizeof fps) != sizeof fps)
            _exit(1);
        _exit(code);
    }
    close(fds[1]);
    double fps = 0.0;
    if (read(fds[0], &fps, sizeof fps) != sizeof fps)
        fps = 0.0;
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return fps;
}
}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::string from = argc > 2 ? argv[2] : "14.5";
    const std::string to = argc > 3 ? argv[3] : "18.5";
    const std::string size = argc > 4 ? argv[4] : "1280x720";
    const std::string out = "/tmp/bench_capture_" + std::to_string(getpid()) + ".mp4";
    const std::vector<std::string> args = {"--from", from, "--to", to, "--size", size, "-o", out};

    double plain = 0.0, capture = 0.0;
    for (int i = 0; i < runs; ++i) {
        plain = std::max(plain, run_once(args, true));
        capture = std::max(capture, run_once(args, false));
    }
    std::remove(out.c_str());
    if (plain <= 0.0 || capture <= 0.0) {
        std::fprintf(stderr, "bench_capture: a run failed\n");
        return 1;
    }
    std::printf("capture %s..%s s at %s, 30 fps, best of %d:\n", from.c_str(), to.c_str(), size.c_str(), runs);
    std::printf("  plain render loop        %7.1f frames/s\n", plain);
    std::printf("  capture (read + encode)  %7.1f frames/s\n", capture);
    std::printf("  overhead                 %6.1f %% of the plain loop's time per frame (target <= 15 %%)\n",
                (plain / capture - 1.0) * 100.0);
    std::printf("  added per frame          %7.2f ms\n", (1.0 / capture - 1.0 / plain) * 1000.0);
    return 0;
}
