#pragma once
// Which frames of a capture's range one process renders: all of them, the
// frames A up to B (`--frames A:B`, B not included), or the K-th of N equal
// slices (`--segment K/N`, K from 1). Frame numbers lie on the grid of the
// whole range (frame n shows from + floor(n * 1000 / fps)), so every slice
// places its frames exactly where a capture of the whole range does, and
// the slices of N cover the range once, without gaps or overlaps.
#include <cstdint>
#include <string>

struct FrameSpan {
    int64_t first = 0, end = 0;  // frames first .. end - 1
    int64_t count() const { return end - first; }
};

// "A:B" with 0 <= A < B; checked against the range later.
bool parse_frames_arg(const std::string& text, FrameSpan& span, std::string& error);
// "K/N" with 1 <= K <= N.
bool parse_segment_arg(const std::string& text, int& k, int& n, std::string& error);

// The K-th (from 1) of N equal slices of `total` frames: their lengths
// differ by one frame at most.
FrameSpan segment_slice(int64_t total, int k, int n);

// "30:60", the notation of --frames.
std::string frames_text(const FrameSpan& span);
