#pragma once
// Small building blocks of the synthesizer: noise, band-limited oscillators,
// a state-variable filter, panning. Everything is plain arithmetic on floats
// with no hidden state, so a render is the same every time.
#include <cmath>
#include <cstdint>

namespace dsp {

constexpr float PI = 3.14159265358979f;

inline float note_hz(float key)
{
    return 440.0f * std::exp2((key - 69.0f) / 12.0f);
}

// White noise in [-1, 1) from a linear congruential generator.
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed * 2654435761u + 12345u) {}
    float next()
    {
        state = state * 1664525u + 1013904223u;
        return float(int32_t(state)) * (1.0f / 2147483648.0f);
    }
};

// Correction that removes most of the aliasing of a hard edge (PolyBLEP).
inline float blep(float t, float dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

// Sawtooth with phase in [0, 1).
struct Saw {
    float phase = 0.0f;
    float next(float dt)
    {
        float v = 2.0f * phase - 1.0f - blep(phase, dt);
        phase += dt;
        if (phase >= 1.0f)
            phase -= 1.0f;
        return v;
    }
};

struct Square {
    float phase = 0.0f;
    float next(float dt)
    {
        float v = phase < 0.5f ? 1.0f : -1.0f;
        v += blep(phase, dt);
        float p2 = phase + 0.5f;
        if (p2 >= 1.0f)
            p2 -= 1.0f;
        v -= blep(p2, dt);
        phase += dt;
        if (phase >= 1.0f)
            phase -= 1.0f;
        return v;
    }
};

// Two-pole state-variable filter, trapezoidal integration: stable at any
// cutoff below Nyquist and under fast modulation.
struct Svf {
    float ic1 = 0.0f, ic2 = 0.0f;
    float a1 = 0.0f, a2 = 0.0f, a3 = 0.0f, k = 1.0f;
    float low = 0.0f, band = 0.0f, high = 0.0f;

    void set(float hz, float q, float rate)
    {
        hz = std::fmin(std::fmax(hz, 10.0f), rate * 0.45f);
        const float g = std::tan(PI * hz / rate);
        k = 1.0f / q;
        a1 = 1.0f / (1.0f + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    void run(float v0)
    {
        const float v3 = v0 - ic2;
        const float v1 = a1 * ic1 + a2 * v3;
        const float v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0f * v1 - ic1;
        ic2 = 2.0f * v2 - ic2;
        low = v2;
        band = v1;
        high = v0 - k * v1 - v2;
    }
};

// Constant-power pan gains, pan in [-1, 1].
inline void pan_gains(float pan, float& l, float& r)
{
    const float a = (pan + 1.0f) * 0.25f * PI;
    l = std::cos(a) * 1.41421356f;
    r = std::sin(a) * 1.41421356f;
}

}  // namespace dsp
