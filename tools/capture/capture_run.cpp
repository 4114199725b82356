#include "capture/capture_run.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "encode/frame_sink.h"
#include "encode/video_writer.h"
#include "offline/capture_options.h"
#include "offline/frame_readback.h"
#include "offline/frame_timing.h"
#include "offline/partial_file.h"
#include "offline/progress.h"
#include "offline/range_run_up.h"
#include "offline/show_stepper.h"
#include "offline/stop_request.h"
#include "platform/WindowConfig.h"
#include "runtime/cSceneManager.h"
#include "segments/segment_writer.h"
#include "util/time_code.h"

namespace {
std::string g_part;  // the temporary file while it exists

void remove_part()
{
    if (!g_part.empty())
        std::remove(g_part.c_str());
    g_part.clear();
}

int fail(const std::string& message, int code)
{
    remove_part();
    std::cerr << "wendit capture: " << message << std::endl;
    return code;
}

double cpu_seconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}
}  // namespace

int run_capture(const std::vector<std::string>& args, bool renderOnly, CaptureStats* stats)
{
    CaptureOptions o;
    std::string error;
    if (!parse_capture_args(args, false, o, error))
        return fail(error, 2);
    int startMs = 0;
    if (!resolve_show_range(o, startMs, error) || !resolve_frame_span(o, error) || !check_outputs(o, error))
        return fail(error, 2);
    if (o.dryRun) {
        std::cout << "would write " << (o.output.empty() ? o.pngDir + "/frame_*.png" : o.output) << ": "
                  << o.span.count() << " frames (" << frames_text(o.span) << " of " << o.totalFrames << ") " << o.width
                  << "x" << o.height << " at " << o.fps << " fps, " << time_code(o.fromMs) << " to "
                  << time_code(o.toMs) << std::endl;
        return 0;
    }
    install_stop_handlers();
    // The temporary file goes also when something calls exit() halfway.
    static const bool hooked = std::atexit(remove_part) == 0;
    (void)hooked;

    cQuietStdout quiet;
    cShowStepper show;
    if (!show.open(o.width, o.height, o.fps, error))
        return fail(error, 1);
    if (!o.solo.empty() && !show.choose_solo(o.solo, error))
        return fail(error, 2);
    if (!o.pngDir.empty() && !renderOnly)
        mkdir(o.pngDir.c_str(), 0777);

    const int64_t total = o.span.count();
    cPartialFile part;  // declared before the writer: locked until the file is closed
    std::unique_ptr<iFrameOut> video;
    if (!o.output.empty() && !renderOnly && o.segmented()) {
        SegmentInfo info;
        info.fromMs = o.fromMs;
        info.toMs = o.toMs;
        info.fps = o.fps;
        info.width = o.width;
        info.height = o.height;
        info.solo = o.solo;
        info.totalFrames = o.totalFrames;
        info.span = o.span;
        info.part = o.part;
        info.parts = o.parts;
        info.lossless = o.lossless;
        if (!part.claim(o.output + PARTIAL_SUFFIX, std::cerr, error))
            return fail(error, 1);
        g_part = o.output + PARTIAL_SUFFIX;
        cSegmentWriter* segment = new cSegmentWriter();
        video.reset(segment);
        if (!segment->open(g_part, info, error))
            return fail(error, 1);
    } else if (!o.output.empty() && !renderOnly) {
        int64_t pcmFrames = 0;
        VideoSpec format;
        format.width = o.width;
        format.height = o.height;
        format.fps = o.fps;
        format.pcm = show.music(&pcmFrames);
        format.pcmFrames = pcmFrames;
        format.rate = show.music_rate();
        format.firstSample = first_sample(o.fromMs, format.rate);
        if (!part.claim(o.output + PARTIAL_SUFFIX, std::cerr, error))
            return fail(error, 1);
        g_part = o.output + PARTIAL_SUFFIX;
        cVideoWriter* writer = new cVideoWriter();
        video.reset(writer);
        if (!writer->open(g_part, format, error))
            return fail(error, 1);
    }

    run_up_to_range(show, startMs, o.fromMs, o.fps, o.span.first);

    const Viewport vp = window_config()->render_viewport();
    cFrameReadback readback(vp.x, vp.y, o.width, o.height);
    std::unique_ptr<cFrameSink> sink;
    if (!renderOnly)
        sink.reset(new cFrameSink(video.get(), o.pngDir, o.width, o.height));
    cProgress progress(total, isatty(2) != 0, stderr, o.progressLines);
    const double cpuBegin = cpu_seconds();
    int64_t handed = o.span.first;  // PNG frames are numbered on the whole range's grid
    auto hand_over = [&](bool all) {
        while (readback.pending(all)) {
            std::vector<uint8_t> pixels = sink->buffer();
            if (!readback.fetch(pixels)) {
                error = "the driver did not hand a frame back";
                return false;
            }
            if (!sink->push(handed++, std::move(pixels)))
                return false;
        }
        return true;
    };

    int64_t n = o.span.first;
    bool ok = true;
    for (; n < o.span.end && !stop_requested() && ok; ++n) {
        show.step_to(int(frame_time_ms(o.fromMs, n, o.fps)));
        show.draw();
        if (!renderOnly)
            readback.start();
        show.present();
        if (!renderOnly)
            ok = hand_over(false);
        progress.update(sink ? sink->written() : n + 1 - o.span.first);
    }
    if (ok && !renderOnly && !stop_requested())
        ok = hand_over(true);
    if (ok && sink)
        progress.update(total);
    const double loopSeconds = progress.seconds();
    progress.finish();
    if (stop_requested()) {
        sink.reset();
        video.reset();
        return fail("interrupted at frame " + std::to_string(n - o.span.first) + " of " + std::to_string(total) +
                        (o.output.empty() ? std::string() : "; nothing written under " + o.output),
                    130);
    }
    if (sink) {
        std::string sinkError;
        if (!sink->finish(sinkError))
            ok = false;
        if (error.empty())
            error = sinkError;
    }
    if (!ok) {
        sink.reset();
        video.reset();
        return fail(error.empty() ? "writing the capture failed" : error, 1);
    }
    if (stats) {
        stats->frames = total;
        stats->seconds = loopSeconds;
        stats->cpuSeconds = cpu_seconds() - cpuBegin;
    }
    if (video) {
        video.reset();
        if (std::rename(g_part.c_str(), o.output.c_str()) != 0)
            return fail("cannot rename " + g_part + " to " + o.output, 1);
        g_part.clear();
    }
    if (renderOnly)
        return 0;

    std::string where;
    if (!o.output.empty())
        where = o.output;
    if (!o.pngDir.empty())
        where += (where.empty() ? "" : " and ") + o.pngDir + "/frame_*.png";
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.1f", loopSeconds > 0 ? double(total) / loopSeconds : 0.0);
    quiet.print("wrote " + where + ": " + std::to_string(total) + " frames " +
                (o.segmented() ? "(" + frames_text(o.span) + " of " + std::to_string(o.totalFrames) + ") " : "") +
                std::to_string(o.width) + "x" +
                std::to_string(o.height) + " at " + std::to_string(o.fps) + " fps, " + time_code(o.fromMs) +
                " to " + time_code(o.toMs) + (o.solo.empty() ? "" : ", layer '" + o.solo + "' alone") +
                (o.output.empty() || o.segmented() ? "" : ", with sound") + ", in " + minutes_seconds(loopSeconds) + " (" + rate +
                " frames/s)\n");
    return 0;
}
