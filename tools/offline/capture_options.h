#pragma once
// The command lines of `wendit capture` and `wendit contact`: parsing and
// checking everything that can be checked before a window opens, so that
// bad arguments end with one clear line and exit code 2 and nothing written.
#include <string>
#include <vector>

#include "offline/segment_span.h"

class cEventQueue;

struct CaptureOptions {
    std::string output;     // the MP4 file; empty when only PNG frames are wanted
    std::string pngDir;     // numbered PNG frames go here when not empty
    std::string from, to;   // TIME or MARKER as given; empty: the defaults
    int fps = 30;
    int width = 1280, height = 720;
    std::string solo;       // a layer scene's getName, or empty
    int count = 24;         // contact sheet: thumbnails
    // A segment of the range (--frames A:B or --segment K/N), written as a
    // Matroska file instead of the MP4: H.264 to be joined by copying, or
    // FFV1 with --lossless.
    bool framesGiven = false;
    bool lossless = false;
    FrameSpan frames;       // --frames, until resolved
    int part = 0, parts = 0;  // --segment K/N
    bool progressLines = false;  // --progress-lines: "# progress DONE TOTAL" on stderr
    bool dryRun = false;         // --dry-run: check, say what would be written, write nothing
    // Resolved by check_range:
    int fromMs = 0, toMs = 0;
    // Resolved by resolve_frame_span: the frames this process renders.
    int64_t totalFrames = 0;
    FrameSpan span;

    bool segmented() const { return framesGiven || parts > 0; }
};

// Reads the arguments of one command ("capture" or "contact"); false with a
// one-line message in `error` on anything unknown or malformed.
bool parse_capture_args(const std::vector<std::string>& args, bool contact, CaptureOptions& o,
                        std::string& error);

// The show's span: the start marker (s00) and the quit marker.
bool show_span(const cEventQueue& queue, int& startMs, int& quitMs, std::string& error);

// Resolves --from/--to against the marker script as the show's own --from
// does (seconds, a time code or a marker; defaults: the start and the quit
// marker) and checks that the range is neither empty nor outside
// the show.
bool check_range(const cEventQueue& queue, CaptureOptions& o, std::string& error);
// Reads the show's marker script and resolves the range against it
// (check_range); the start marker's time goes to startMs. False with a
// one-line message when there is no script or the range does not fit.
bool resolve_show_range(CaptureOptions& o, int& startMs, std::string& error);
// The frames to render, on the grid of the resolved range: all of them,
// --frames A:B or the slice of --segment K/N. False with a message when
// they do not lie in the range.
bool resolve_frame_span(CaptureOptions& o, std::string& error);
// Checks that the outputs can be written: the MP4's directory (or the PNG
// directory, or its parent when it is to be made) exists and is writable.
bool check_outputs(const CaptureOptions& o, std::string& error);
