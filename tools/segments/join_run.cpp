#include "segments/join_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "encode/frame_sink.h"
#include "encode/video_writer.h"
#include "offline/capture_options.h"
#include "offline/frame_timing.h"
#include "offline/progress.h"
#include "offline/stop_request.h"
#include "platform/mp3_decode.h"
#include "runtime/cSoundModule_fmod.h"
#include "segments/join_check.h"
#include "segments/segment_packets.h"
#include "segments/segment_reader.h"
#include "util/time_code.h"

namespace {
int say(const std::string& message, int code)
{
    std::cerr << "wendit join: " << message << std::endl;
    return code;
}

bool ends_with(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Two names of one file (so the output never overwrites a segment).
bool same_file(const std::string& a, const std::string& b)
{
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Reads what each named file says about itself; the first that cannot
// take part gives the message.
bool read_segments(const std::vector<std::string>& paths, std::vector<JoinSegment>& out, std::string& error)
{
    for (const std::string& p : paths) {
        struct stat st;
        if (stat(p.c_str(), &st) != 0) {
            error = p + ": no such file";
            return false;
        }
        if (S_ISDIR(st.st_mode)) {
            error = p + ": is a directory";
            return false;
        }
        if (ends_with(p, ".part")) {
            error = p + ": an unfinished segment (its capture is still writing it, or died)";
            return false;
        }
        SegmentHead head;
        std::string why;
        if (!read_segment_head(p, head, why)) {
            error = p + ": " + why;
            return false;
        }
        out.push_back(JoinSegment{p, head.info, head.pictures, head.setup});
    }
    return true;
}
}  // namespace

int run_join(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    CaptureOptions o;
    o.output = "morvane.mp4";
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size() || args[i + 1].empty())
                return say("-o needs a value", 2);
            o.output = args[++i];
        } else if (!args[i].empty() && args[i][0] == '-') {
            return say("unexpected argument '" + args[i] + "'", 2);
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.empty())
        return say("no segments given (wendit join SEGMENT... -o FILE.mp4)", 2);

    std::string error;
    std::vector<JoinSegment> given, ordered;
    if (!read_segments(paths, given, error))
        return say(error, 2);
    error = check_segment_set(given, ordered);
    if (!error.empty())
        return say(error, 2);
    for (const std::string& p : paths)
        if (same_file(p, o.output))
            return say("the output '" + o.output + "' is one of the segments", 2);
    if (!check_outputs(o, error))
        return say(error, 2);

    const SegmentInfo& range = ordered[0].info;
    std::vector<int16_t> pcm;
    std::string detail;
    if (decode_mp3_file(g_music_path, 44100, pcm, detail) != Mp3DecodeResult::ok)
        return say("cannot read the music " + g_music_path + (detail.empty() ? "" : ": " + detail), 1);

    install_stop_handlers();
    const std::string part = o.output + ".part";
    VideoSpec format;
    format.width = range.width;
    format.height = range.height;
    format.fps = range.fps;
    format.pcm = pcm.data();
    format.pcmFrames = int64_t(pcm.size() / 2);
    format.rate = 44100;
    format.firstSample = first_sample(range.fromMs, format.rate);
    std::unique_ptr<cVideoWriter> video(new cVideoWriter());
    std::unique_ptr<cFrameSink> sink;
    auto give_up = [&](const std::string& message, int code) {
        sink.reset();
        video.reset();
        std::remove(part.c_str());
        return say(message, code);
    };
    cProgress progress(range.totalFrames, isatty(2) != 0);
    int64_t index = 0;
    auto interrupted = [&]() {
        return give_up("interrupted at frame " + std::to_string(index) + " of " + std::to_string(range.totalFrames) +
                           "; nothing written under " + o.output,
                       130);
    };
    bool ok = true;
    if (!range.lossless) {
        // The slices' packets, copied in frame order: nothing decoded.
        cSegmentPackets first;
        if (!first.open(ordered[0].path, ordered[0].info, error))
            return give_up(ordered[0].path + ": " + error, 1);
        if (!video->open_copy(part, format, first.parameters(), error))
            return give_up(error, 1);
        AVPacket* packet = av_packet_alloc();
        std::unique_ptr<AVPacket, void (*)(AVPacket*)> owned(packet, [](AVPacket* p) { av_packet_free(&p); });
        for (const JoinSegment& j : ordered) {
            cSegmentPackets slice;
            if (!slice.open(j.path, j.info, error))
                return give_up(j.path + ": " + error, 1);
            for (int64_t n = 0; n < j.info.span.count(); ++n) {
                if (stop_requested())
                    return interrupted();
                if (!slice.next(packet, error))
                    return give_up(j.path + ": " + (error.empty() ? "ends early" : error), 1);
                if (!video->add_packet(packet, error))
                    return give_up(error, 1);
                progress.update(++index);
            }
        }
        ok = video->finish(error);
    } else {
        // Lossless slices: every picture decoded and encoded as a single
        // capture encodes it.
        if (!video->open(part, format, error))
            return give_up(error, 1);
        sink.reset(new cFrameSink(video.get(), std::string(), range.width, range.height));
        for (const JoinSegment& j : ordered) {
            cSegmentReader reader;
            if (!reader.open(j.path, j.info, error))
                return give_up(j.path + ": " + error, 1);
            for (int64_t n = 0; n < j.info.span.count(); ++n) {
                if (stop_requested())
                    return interrupted();
                std::vector<uint8_t> pixels = sink->buffer();
                if (!reader.next(pixels, error))
                    return give_up(j.path + ": " + (error.empty() ? "ends early" : error), 1);
                if (!sink->push(index++, std::move(pixels))) {
                    sink->finish(error);
                    return give_up(error.empty() ? "writing the video failed" : error, 1);
                }
                progress.update(sink->written());
            }
        }
        ok = sink->finish(error);
    }
    const double seconds = progress.seconds();
    progress.finish();
    if (!ok)
        return give_up(error.empty() ? "writing the video failed" : error, 1);
    sink.reset();
    video.reset();
    if (std::rename(part.c_str(), o.output.c_str()) != 0)
        return give_up("cannot rename " + part + " to " + o.output, 1);

    char rate[32];
    std::snprintf(rate, sizeof rate, "%.1f", seconds > 0 ? double(index) / seconds : 0.0);
    std::cout << "wrote " << o.output << ": " << index << " frames " << range.width << "x" << range.height << " at "
              << range.fps << " fps, " << time_code(range.fromMs) << " to " << time_code(range.toMs)
              << (range.solo.empty() ? "" : ", layer '" + range.solo + "' alone") << ", with sound, from "
              << ordered.size() << " segment" << (ordered.size() == 1 ? "" : "s") << ", in " << minutes_seconds(seconds)
              << " (" << rate << " frames/s)" << std::endl;
    return 0;
}
