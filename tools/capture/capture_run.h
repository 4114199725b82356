#pragma once
// wendit capture: the show rendered offline, frame by frame at exact demo
// times, read back and written as an MP4 with its music and/or as PNG
// frames. Also the plain render loop over the same frames (no read-back,
// no encoding), which the capture benchmark compares against.
#include <cstdint>
#include <string>
#include <vector>

struct CaptureStats {
    int64_t frames = 0;
    double seconds = 0.0;     // the frames' loop, set-up excluded
    double cpuSeconds = 0.0;  // processor time of the frames, the writing thread's included
};

// Exit codes: 0 done, 1 failure (set-up, encoder, disk), 2 bad arguments,
// 130 interrupted.
int run_capture(const std::vector<std::string>& args, bool renderOnly = false, CaptureStats* stats = nullptr);
