#include "master.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "loudness.h"

void limit_peaks(StereoBuffer& audio, float ceiling, double lookaheadSec, double releaseSec)
{
    const size_t n = audio.frames();
    if (n == 0)
        return;
    const size_t look = std::max<size_t>(1, size_t(lookaheadSec * audio.rate));
    // Gain each sample needs on its own.
    std::vector<float> need(n);
    for (size_t i = 0; i < n; ++i) {
        const float p = std::max(std::fabs(audio.left[i]), std::fabs(audio.right[i]));
        need[i] = p > ceiling ? ceiling / p : 1.0f;
    }
    // Smallest need over the coming `look` samples (a sliding minimum), with
    // a smooth recovery afterwards.
    std::vector<float> env(n);
    std::deque<size_t> window;
    const float rel = float(std::exp(-1.0 / (releaseSec * audio.rate)));
    float g = 1.0f;
    for (size_t i = 0, j = 0; i < n; ++i) {
        for (; j < n && j <= i + look; ++j) {
            while (!window.empty() && need[window.back()] >= need[j])
                window.pop_back();
            window.push_back(j);
        }
        while (window.front() < i)
            window.pop_front();
        const float h = need[window.front()];
        g = std::min(h, g * rel + (1.0f - rel));
        env[i] = g;
    }
    // Averaging over the look-ahead turns the steps into ramps; every value
    // averaged for sample i is at most need[i], so the ceiling holds.
    double sum = 0.0;
    for (size_t i = 0; i < n; ++i) {
        sum += env[i];
        if (i >= look)
            sum -= env[i - look];
        const float gain = float(sum / double(std::min(i + 1, look)));
        audio.left[i] *= std::min(gain, need[i]);
        audio.right[i] *= std::min(gain, need[i]);
    }
}

double master_to_loudness(StereoBuffer& audio, const MasterSettings& s)
{
    const float ceiling = float(std::pow(10.0, s.ceilingDbfs / 20.0));
    double lufs = integrated_loudness(audio.left.data(), audio.right.data(), audio.frames(), audio.rate);
    // Limiting takes a little loudness away; a few more rounds settle it.
    for (int round = 0; round < 8 && lufs > -70.0; ++round) {
        const float gain = float(std::pow(10.0, (s.targetLufs - lufs) / 20.0));
        for (size_t i = 0; i < audio.frames(); ++i) {
            audio.left[i] *= gain;
            audio.right[i] *= gain;
        }
        limit_peaks(audio, ceiling, s.lookaheadSec, s.releaseSec);
        lufs = integrated_loudness(audio.left.data(), audio.right.data(), audio.frames(), audio.rate);
        if (std::fabs(lufs - s.targetLufs) < 0.05)
            break;
    }
    return lufs;
}
