#pragma once
// The last stage before encoding: brings the mix to a target loudness and
// keeps every sample under a ceiling with a look-ahead limiter (the gain
// comes down before a peak arrives, so nothing clips and nothing distorts
// abruptly).
#include "synth.h"

struct MasterSettings {
    double targetLufs = -14.0;
    double ceilingDbfs = -2.0;  // leaves room for the encoder's overshoot
    double lookaheadSec = 0.005;
    double releaseSec = 0.12;
};

// Returns the integrated loudness reached.
double master_to_loudness(StereoBuffer& audio, const MasterSettings& settings);

// The limiter alone: after it no sample of either channel exceeds ceiling
// (linear, full scale 1.0).
void limit_peaks(StereoBuffer& audio, float ceiling, double lookaheadSec, double releaseSec);
