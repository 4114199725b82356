#include "offline/capture_options.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "offline/frame_timing.h"
#include "runtime/cSceneManager.h"
#include "timeline/cEvent.h"
#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"
#include "timeline/show_position.h"
#include "util/time_code.h"

namespace {
bool parse_int(const std::string& text, int lo, int hi, int& out)
{
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    const long v = std::strtol(text.c_str(), nullptr, 10);
    if (v < lo || v > hi)
        return false;
    out = int(v);
    return true;
}

bool parse_size(const std::string& text, int& w, int& h)
{
    const size_t x = text.find('x');
    if (x == std::string::npos)
        return false;
    // Even sides: the video's colour planes are half size.
    return parse_int(text.substr(0, x), 16, 4096, w) && parse_int(text.substr(x + 1), 16, 4096, h) &&
           w % 2 == 0 && h % 2 == 0;
}

bool ends_with(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool is_dir(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string parent_of(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writable_dir(const std::string& dir, const std::string& what, std::string& error)
{
    if (!is_dir(dir)) {
        error = "the " + what + " directory '" + dir + "' does not exist";
        return false;
    }
    if (access(dir.c_str(), W_OK | X_OK) != 0) {
        error = "the " + what + " directory '" + dir + "' cannot be written: " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace

bool show_span(const cEventQueue& queue, int& startMs, int& quitMs, std::string& error)
{
    startMs = script_marker_time(queue, "s00");
    quitMs = script_marker_time(queue, "quit");
    if (startMs < 0 || quitMs < 0) {
        error = std::string("the marker script has no ") + (startMs < 0 ? "start marker (s00)" : "quit marker");
        return false;
    }
    return true;
}

bool parse_capture_args(const std::vector<std::string>& args, bool contact, CaptureOptions& o,
                        std::string& error)
{
    if (!contact)
        o.output.clear();
    bool outputGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!contact && (a == "--progress-lines" || a == "--dry-run" || a == "--lossless")) {
            (a == "--dry-run" ? o.dryRun : a == "--lossless" ? o.lossless : o.progressLines) = true;
            continue;
        }
        const bool known = a == "-o" || a == "--from" || a == "--to" ||
                           (contact ? a == "--count" : (a == "--png" || a == "--fps" || a == "--solo" ||
                                                        a == "--size" || a == "--frames" || a == "--segment"));
        if (!known) {
            error = "unexpected argument '" + a + "'";
            return false;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = a + " needs a value";
            return false;
        }
        const std::string& v = args[++i];
        if (a == "-o") {
            o.output = v;
            outputGiven = true;
        } else if (a == "--png") {
            o.pngDir = v;
        } else if (a == "--from") {
            o.from = v;
        } else if (a == "--to") {
            o.to = v;
        } else if (a == "--solo") {
            o.solo = v;
        } else if (a == "--fps") {
            if (!parse_int(v, 1, 240, o.fps)) {
                error = "--fps '" + v + "': frames per second must be a whole number from 1 to 240";
                return false;
            }
        } else if (a == "--frames") {
            if (!parse_frames_arg(v, o.frames, error))
                return false;
            o.framesGiven = true;
        } else if (a == "--segment") {
            if (!parse_segment_arg(v, o.part, o.parts, error))
                return false;
        } else if (a == "--count") {
            if (!parse_int(v, 1, 400, o.count)) {
                error = "--count '" + v + "': the number of thumbnails must be from 1 to 400";
                return false;
            }
        } else if (a == "--size") {
            if (!parse_size(v, o.width, o.height)) {
                error = "--size '" + v + "': give WIDTHxHEIGHT, even numbers from 16 to 4096";
                return false;
            }
        }
    }
    if (o.framesGiven && o.parts > 0) {
        error = "--frames and --segment both choose the frames: give one of them";
        return false;
    }
    if (o.lossless && !o.segmented()) {
        error = "--lossless is for segments (--segment K/N or --frames A:B); the video itself is H.264";
        return false;
    }
    if (o.segmented()) {
        // A segment is Matroska, for `wendit join`; an .mp4 name would
        // promise the finished video.
        if (outputGiven && !ends_with(o.output, ".mkv")) {
            error = "-o '" + o.output + "': a segment is a Matroska file: name it FILE.mkv";
            return false;
        }
        if (!outputGiven && o.pngDir.empty())
            o.output = o.parts > 0 ? "segment_" + std::to_string(o.part) + "_of_" + std::to_string(o.parts) + ".mkv"
                                   : "frames_" + std::to_string(o.frames.first) + "-" +
                                         std::to_string(o.frames.end) + ".mkv";
        return true;
    }
    // PNG frames alone unless a video file was asked for as well.
    if (!outputGiven && (contact || o.pngDir.empty()))
        o.output = contact ? "contact.png" : "morvane.mp4";
    return true;
}

bool check_range(const cEventQueue& queue, CaptureOptions& o, std::string& error)
{
    int start = 0, quit = 0;
    if (!show_span(queue, start, quit, error))
        return false;
    o.fromMs = start;
    o.toMs = quit;
    if (!o.from.empty() && !resolve_time_or_marker(queue, o.from, o.fromMs, error))
        return false;
    if (!o.to.empty() && !resolve_time_or_marker(queue, o.to, o.toMs, error))
        return false;
    if (o.fromMs < start || o.toMs > quit) {
        error = "the range " + time_code(o.fromMs) + " to " + time_code(o.toMs) + " lies outside the show (" +
                time_code(start) + " to " + time_code(quit) + ")";
        return false;
    }
    if (o.toMs <= o.fromMs) {
        error = "the range " + time_code(o.fromMs) + " to " + time_code(o.toMs) + " is empty";
        return false;
    }
    return true;
}

bool resolve_frame_span(CaptureOptions& o, std::string& error)
{
    o.totalFrames = frame_count(o.fromMs, o.toMs, o.fps);
    o.span = FrameSpan{0, o.totalFrames};
    const std::string frames = std::to_string(o.totalFrames) + " frames";
    if (o.parts > 0) {
        if (o.parts > o.totalFrames) {
            error = "--segment " + std::to_string(o.part) + "/" + std::to_string(o.parts) + ": the range has " + frames +
                    ", too few for " + std::to_string(o.parts) + " segments";
            return false;
        }
        o.span = segment_slice(o.totalFrames, o.part, o.parts);
    } else if (o.framesGiven) {
        if (o.frames.end > o.totalFrames) {
            error = "--frames " + frames_text(o.frames) + ": the range " + time_code(o.fromMs) + " to " +
                    time_code(o.toMs) + " at " + std::to_string(o.fps) + " fps has " + frames + " (0:" +
                    std::to_string(o.totalFrames) + ")";
            return false;
        }
        o.span = o.frames;
    }
    return true;
}

bool check_outputs(const CaptureOptions& o, std::string& error)
{
    if (!o.output.empty()) {
        // Such a name is what an unfinished capture is called; a finished
        // video must never carry it.
        const std::string part = ".part";
        if (o.output.size() >= part.size() && o.output.compare(o.output.size() - part.size(), part.size(), part) == 0) {
            error = "the output '" + o.output + "' ends in .part, the name of an unfinished capture";
            return false;
        }
        if (is_dir(o.output)) {
            error = "the output '" + o.output + "' is a directory";
            return false;
        }
        if (!writable_dir(parent_of(o.output), "output", error))
            return false;
    }
    if (!o.pngDir.empty()) {
        struct stat st;
        if (stat(o.pngDir.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
            error = "the PNG directory '" + o.pngDir + "' is not a directory";
            return false;
        }
        if (!writable_dir(is_dir(o.pngDir) ? o.pngDir : parent_of(o.pngDir), "PNG", error))
            return false;
    }
    return true;
}

bool resolve_show_range(CaptureOptions& o, int& startMs, std::string& error)
{
    std::unique_ptr<cEventQueue> markers(cEventQueue_factory::loadFile(cSceneManager::MARKER_SCRIPT_PATH));
    if (!markers) {
        error = std::string("no marker script at ") + cSceneManager::MARKER_SCRIPT_PATH;
        return false;
    }
    int quitMs = 0;
    return check_range(*markers, o, error) && show_span(*markers, startMs, quitMs, error);
}
