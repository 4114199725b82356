#pragma once
// What a capture segment says about itself, in its container's metadata:
// the whole range it is a slice of (times, fps, size, the layer drawn
// alone), its frames on that range's grid and, when it was made with
// --segment, which slice it is. `wendit join` reads these back to check
// that a set of segments makes one capture.
//
// The tags are text ("WENDIT_RANGE" = "10000 13000", ...); a file's tags
// are never trusted: anything malformed, out of bounds or inconsistent
// with itself is refused with a message naming the tag.
#include <cstdint>
#include <map>
#include <string>

#include "offline/segment_span.h"

struct SegmentInfo {
    int fromMs = 0, toMs = 0;  // the whole range
    int fps = 30;
    int width = 1280, height = 720;
    std::string solo;          // the layer drawn alone; empty: the whole picture
    int64_t totalFrames = 0;   // frames of the whole range
    FrameSpan span;            // this segment's frames
    int part = 0, parts = 0;   // K/N when made with --segment; 0/0 otherwise
    // FFV1 pictures exactly as read back (--lossless), or H.264 with the
    // capture's own settings, joined by copying. Told by the file's
    // stream, not by a tag.
    bool lossless = false;

    // "segment 2/3" or "frames 30:60"
    std::string name() const;
};

using SegmentTags = std::map<std::string, std::string>;

SegmentTags segment_tags(const SegmentInfo& info);
// False with a message when a tag is missing, malformed or inconsistent.
bool parse_segment_tags(const SegmentTags& tags, SegmentInfo& info, std::string& error);
