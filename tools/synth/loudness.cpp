#include "loudness.h"

#include <algorithm>
#include <cmath>

namespace {

struct Biquad {
    double b0, b1, b2, a1, a2;
    double z1 = 0.0, z2 = 0.0;
    double run(double x)
    {
        const double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// The two K-weighting stages, designed for the given sample rate.
void k_weighting(int rate, Biquad& shelf, Biquad& lowcut)
{
    const double pi = 3.14159265358979323846;
    {
        const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
        const double k = std::tan(pi * f0 / rate);
        const double vh = std::pow(10.0, gainDb / 20.0);
        const double vb = std::pow(vh, 0.4996667741545416);
        const double a0 = 1.0 + k / q + k * k;
        shelf = Biquad{(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
                       2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    }
    {
        const double f0 = 38.13547087602444, q = 0.5003270373238773;
        const double k = std::tan(pi * f0 / rate);
        const double a0 = 1.0 + k / q + k * k;
        lowcut = Biquad{1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    }
}

// Sum of K-weighted squares per 100 ms step; blocks are four steps.
template <typename Get>
double measure(size_t frames, int rate, Get get)
{
    Biquad sl, hl, sr, hr;
    k_weighting(rate, sl, hl);
    k_weighting(rate, sr, hr);
    const size_t step = size_t(rate) / 10;
    std::vector<double> steps;
    double acc = 0.0;
    for (size_t i = 0; i < frames; ++i) {
        double l, r;
        get(i, l, r);
        const double kl = hl.run(sl.run(l));
        const double kr = hr.run(sr.run(r));
        acc += kl * kl + kr * kr;
        if ((i + 1) % step == 0) {
            steps.push_back(acc);
            acc = 0.0;
        }
    }
    std::vector<double> blocks;  // mean square of each 400 ms block
    for (size_t s = 0; s + 4 <= steps.size(); ++s)
        blocks.push_back((steps[s] + steps[s + 1] + steps[s + 2] + steps[s + 3]) / double(4 * step));
    auto lufs = [](double ms) { return -0.691 + 10.0 * std::log10(std::max(ms, 1e-20)); };

    double sum = 0.0;
    size_t n = 0;
    for (double z : blocks)
        if (lufs(z) > -70.0) {
            sum += z;
            ++n;
        }
    if (n == 0)
        return -70.0;
    const double relative = lufs(sum / double(n)) - 10.0;
    double sum2 = 0.0;
    size_t n2 = 0;
    for (double z : blocks)
        if (lufs(z) > -70.0 && lufs(z) > relative) {
            sum2 += z;
            ++n2;
        }
    return n2 ? lufs(sum2 / double(n2)) : -70.0;
}
}  // namespace

double integrated_loudness(const float* left, const float* right, size_t frames, int rate)
{
    return measure(frames, rate, [&](size_t i, double& l, double& r) {
        l = left[i];
        r = right[i];
    });
}

double integrated_loudness_s16(const int16_t* pcm, size_t frames, int rate)
{
    return measure(frames, rate, [&](size_t i, double& l, double& r) {
        l = pcm[2 * i] / 32768.0;
        r = pcm[2 * i + 1] / 32768.0;
    });
}

double peak_dbfs(const float* left, const float* right, size_t frames)
{
    float peak = 0.0f;
    for (size_t i = 0; i < frames; ++i)
        peak = std::max(peak, std::max(std::fabs(left[i]), std::fabs(right[i])));
    return 20.0 * std::log10(std::max(double(peak), 1e-12));
}
