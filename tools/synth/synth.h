#pragma once
// Renders a score to stereo audio. Tracks choose the instrument: 1 pads
// (and noise risers), 2 hits, 3 kick, 4 bass, 5 percussion, 6 lead (its
// filter follows controller 74), 7 accents. The kick pushes the pads and
// bass down on every beat. Notes start on the exact sample of their time.
#include <cstddef>
#include <vector>

#include "score.h"

struct StereoBuffer {
    int rate = 44100;
    std::vector<float> left, right;
    size_t frames() const { return left.size(); }
};

// The first sample of a beat.
size_t beat_sample(const Score& score, double beat, int rate);

StereoBuffer render_score(const Score& score, int rate);
