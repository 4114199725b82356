#pragma once
// Programme loudness of a stereo signal, measured the way broadcasters and
// streaming services do: K-weighted (a high shelf and a low cut), mean
// square over 400 ms blocks every 100 ms, blocks below -70 LUFS dropped,
// then blocks more than 10 LU below the rest dropped. Also the sample peak.
#include <cstddef>
#include <cstdint>
#include <vector>

// Integrated loudness in LUFS; -70 or less for silence.
double integrated_loudness(const float* left, const float* right, size_t frames, int rate);
// The same for interleaved 16-bit stereo.
double integrated_loudness_s16(const int16_t* interleaved, size_t frames, int rate);

// Largest absolute sample of either channel, in dBFS (full scale is 1.0).
double peak_dbfs(const float* left, const float* right, size_t frames);
