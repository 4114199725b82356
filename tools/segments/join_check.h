#pragma once
// Whether a set of capture segments makes one capture: all of the same
// kind (H.264 or lossless), range, fps, size and layer, H.264 ones with
// the same stream parameters, every picture their metadata promises
// present, and every frame of the range in exactly one of them. The answer
// is one line naming the segment and what is wrong with it, so that a
// person (or a farm's rerun) knows which one to render again.
#include <cstdint>
#include <string>
#include <vector>

#include "segments/segment_info.h"

struct JoinSegment {
    std::string path;
    SegmentInfo info;
    int64_t pictures = 0;  // pictures found in the file
    std::string setup;     // H.264: the stream parameters, which must be the same in all
};

// Empty when the set joins; else the first problem, one line without a
// trailing newline. On success `ordered` holds the segments in frame order.
std::string check_segment_set(const std::vector<JoinSegment>& segments, std::vector<JoinSegment>& ordered);
