#pragma once
// Checks a Matroska file against the CRC-32 elements its writer put at the
// head of every top-level element (the segment's index, tracks, tags, each
// cluster of pictures, the cues): one pass over the bytes, no picture
// decoded, so that a segment damaged on a disk or on its way between
// machines is refused before anything is joined.
#include <cstdint>
#include <string>

struct MkvCheck {
    bool intact = false;     // every checksum matched, every element whole
    bool truncated = false;  // the file ends inside an element (no checksum failed before)
    std::string problem;     // what is wrong, when not intact
};

MkvCheck check_mkv_checksums(const std::string& path);
