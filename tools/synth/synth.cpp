#include "synth.h"

#include <algorithm>
#include <cmath>

#include "effects.h"
#include "instruments.h"

size_t beat_sample(const Score& score, double beat, int rate)
{
    return size_t(std::llround(score.seconds(std::max(beat, 0.0)) * rate));
}

namespace {

// Controller 74 of a track as a curve over samples: each controller event
// glides to the next one, so the filter sweeps instead of stepping.
class ControlCurve {
public:
    ControlCurve(const Score& score, int track, int controller, int rate, float initial)
        : m_initial(initial)
    {
        for (const ScoreControl& c : score.controls)
            if (c.track == track && c.controller == controller)
                m_points.push_back({beat_sample(score, c.beat, rate), float(c.value)});
        std::stable_sort(m_points.begin(), m_points.end(),
                         [](const Point& a, const Point& b) { return a.sample < b.sample; });
    }
    float at(size_t s) const
    {
        if (m_points.empty())
            return m_initial;
        auto it = std::upper_bound(m_points.begin(), m_points.end(), s,
                                   [](size_t v, const Point& p) { return v < p.sample; });
        if (it == m_points.begin())
            return m_points.front().value;
        if (it == m_points.end())
            return m_points.back().value;
        const Point& a = *(it - 1);
        const Point& b = *it;
        const float x = float(s - a.sample) / float(std::max<size_t>(b.sample - a.sample, 1));
        return a.value + (b.value - a.value) * x;
    }

private:
    struct Point {
        size_t sample;
        float value;
    };
    std::vector<Point> m_points;
    float m_initial;
};

// Gain of the ducked bus: dips on every kick and recovers within a beat.
std::vector<float> duck_gain(const Score& score, int rate, size_t frames)
{
    std::vector<float> g(frames, 1.0f);
    const size_t attack = size_t(0.004 * rate);
    for (const ScoreNote& n : score.notes) {
        if (n.track != 3)
            continue;
        const size_t s = beat_sample(score, n.beat, rate);
        const float depth = 0.6f * float(n.velocity) / 127.0f;
        const size_t len = std::min(frames - std::min(frames, s), size_t(0.45 * rate));
        for (size_t i = 0; i < len; ++i) {
            const float t = float(i) / float(rate);
            const float shape = i < attack ? float(i) / float(attack) : std::exp(-(t - 0.004f) / 0.11f);
            g[s + i] = std::min(g[s + i], 1.0f - depth * shape);
        }
    }
    return g;
}
}  // namespace

StereoBuffer render_score(const Score& score, int rate)
{
    const size_t frames = beat_sample(score, score.lengthBeats, rate);
    Buses b;
    b.allocate(rate, frames);

    const ControlCurve cutoff(score, 6, 74, rate, 64.0f);
    const ControlAt cutoffAt = [&cutoff](size_t s) { return cutoff.at(s); };

    uint32_t seed = 1;
    for (const ScoreNote& sn : score.notes) {
        const size_t start = beat_sample(score, sn.beat, rate);
        const size_t end = beat_sample(score, sn.beat + sn.length, rate);
        NoteCtx n{start, std::max<size_t>(end - std::min(end, start), 1), float(sn.key),
                  float(sn.velocity) / 127.0f, seed++};
        switch (sn.track) {
        case 1:
            if (sn.key >= RISER_KEY)
                render_riser(n, b);
            else
                render_pad(n, b);
            break;
        case 2: render_hit(n, b); break;
        case 3: render_kick(n, b); break;
        case 4: render_bass(n, b); break;
        case 5: render_percussion(n, b); break;
        case 6: render_lead(n, b, cutoffAt); break;
        case 7: render_accent(n, b); break;
        default: break;
        }
    }

    StereoBuffer out;
    out.rate = rate;
    out.left = std::move(b.dryL);
    out.right = std::move(b.dryR);
    const std::vector<float> duck = duck_gain(score, rate, frames);
    for (size_t i = 0; i < frames; ++i) {
        out.left[i] += b.duckL[i] * duck[i];
        out.right[i] += b.duckR[i] * duck[i];
    }
    add_echo(b.echo, out.left, out.right, rate, float(score.seconds(0.75)), 0.42f, 0.5f);
    add_reverb(b.verb, out.left, out.right, rate, 0.9f);

    // Remove what lies below hearing (and any offset), then fade the end.
    const float rc = 1.0f / (2.0f * 3.14159265f * 22.0f);
    const float a = rc / (rc + 1.0f / float(rate));
    float pxl = 0.0f, pyl = 0.0f, pxr = 0.0f, pyr = 0.0f;
    const size_t fadeStart = beat_sample(score, score.lengthBeats - score.fadeBeats, rate);
    for (size_t i = 0; i < frames; ++i) {
        const float l = out.left[i], r = out.right[i];
        pyl = a * (pyl + l - pxl);
        pxl = l;
        pyr = a * (pyr + r - pxr);
        pxr = r;
        float g = 1.0f;
        if (i >= fadeStart && frames > fadeStart) {
            const float x = float(i - fadeStart) / float(frames - fadeStart);
            g = (1.0f - x) * (1.0f - x);
        }
        out.left[i] = pyl * g;
        out.right[i] = pyr * g;
    }
    return out;
}
