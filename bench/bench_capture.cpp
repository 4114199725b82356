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
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture/capture_run.h"
#include "encode/video_writer.h"
#include "support/bench_harness.h"

namespace {
struct Run {
    double fps = 0.0;  // the frame loop's wall-clock rate
    double cpu = 0.0;  // processor seconds of the frames (the writing thread's included)
};

// One run in a child process; fps 0 on failure.
Run run_once(const std::vector<std::string>& args, bool renderOnly)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        CaptureStats stats;
        const int code = run_capture(args, renderOnly, &stats);
        const double result[2] = {code == 0 && stats.seconds > 0 ? double(stats.frames) / stats.seconds : 0.0,
                                  stats.cpuSeconds};
        if (write(fds[1], result, sizeof result) != sizeof result)
            _exit(1);
        _exit(code);
    }
    close(fds[1]);
    double result[2] = {0.0, 0.0};
    if (read(fds[0], result, sizeof result) != sizeof result)
        result[0] = 0.0;
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return Run{result[0], result[1]};
}
// Processor time per frame of the video writer alone (conversion, H.264
// and AAC, all its threads) on pictures like the show's: mid grey with a
// fine grain that changes every frame, which is what costs bits.
double writer_ms_per_frame(int w, int h, int frames, const std::string& path)
{
    std::vector<uint8_t> bgra(size_t(w) * h * 4);
    std::vector<int16_t> pcm(size_t(2 * 44100 * 4), 0);
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = int16_t((i * 7919) % 20000 - 10000);
    VideoSpec format;
    format.width = w;
    format.height = h;
    format.pcm = pcm.data();
    format.pcmFrames = int64_t(pcm.size() / 2);
    cVideoWriter writer;
    std::string error;
    if (!writer.open(path, format, error))
        return -1.0;
    uint32_t seed = 1;
    const double begin = bench::cpu_seconds();
    for (int f = 0; f < frames; ++f) {
        for (size_t p = 0; p < bgra.size(); p += 4) {
            seed = seed * 1664525u + 1013904223u;
            const uint8_t v = uint8_t(110 + (seed >> 27));
            bgra[p] = bgra[p + 1] = bgra[p + 2] = v;
        }
        if (!writer.add_frame(bgra.data(), error))
            return -1.0;
    }
    if (!writer.finish(error))
        return -1.0;
    return (bench::cpu_seconds() - begin) / frames * 1000.0;
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

    // Wall-clock rates depend on what else the machine runs; processor time
    // much less, so both are reported.
    Run plain, capture;
    int frames = 0;
    for (int i = 0; i < runs; ++i) {
        const Run p = run_once(args, true), c = run_once(args, false);
        if (p.fps <= 0.0 || c.fps <= 0.0) {
            std::fprintf(stderr, "bench_capture: a run failed\n");
            return 1;
        }
        if (p.fps > plain.fps)
            plain = p;
        if (c.fps > capture.fps)
            capture = c;
    }
    const double writer = writer_ms_per_frame(1280, 720, 60, out);
    std::remove(out.c_str());
    frames = int(std::lround((std::atof(to.c_str()) - std::atof(from.c_str())) * 30.0));
    std::printf("# capture %s..%s s at %s, 30 fps (%d frames), best of %d:\n", from.c_str(), to.c_str(), size.c_str(),
                frames, runs);
    using bench::print_ratio;
    char note[96];
    print_ratio("plain render loop", plain.fps, "frames/s");
    std::snprintf(note, sizeof note, "overhead %.1f %% of the plain loop's time per frame; target <= 15 %%",
                  (plain.fps / capture.fps - 1.0) * 100.0);
    print_ratio("capture (read + encode)", capture.fps, "frames/s",
                {{plain.fps / capture.fps, "the plain loop's time per frame"}}, note);
    print_ratio("processor time per frame, plain", plain.cpu / frames * 1000.0, "ms");
    print_ratio("processor time per frame, capture", capture.cpu / frames * 1000.0, "ms",
                {{capture.cpu / plain.cpu, "the plain loop's"}});
    print_ratio("the writer alone, per grainy 1280x720 frame", writer, "ms", {}, "processor time");
    return 0;
}
