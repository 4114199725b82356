#include "instruments.h"

#include <algorithm>
#include <cmath>

#include "dsp.h"

using namespace dsp;

void Buses::allocate(int sampleRate, size_t n)
{
    rate = sampleRate;
    frames = n;
    for (std::vector<float>* v : {&dryL, &dryR, &duckL, &duckR, &verb, &echo})
        v->assign(n, 0.0f);
}

namespace {

// Samples a note may write, from its start: hold plus release, cut at the
// end of the buffer.
size_t span(const NoteCtx& n, const Buses& b, double releaseSec)
{
    if (n.start >= b.frames)
        return 0;
    const size_t want = n.hold + size_t(releaseSec * b.rate);
    return std::min(want, b.frames - n.start);
}

// Gain that takes the last 10 ms of a note's span down to zero, so a note
// cut at the end of its span never clicks.
struct TailFade {
    size_t len;
    float ramp;
    TailFade(size_t n, int rate) : len(n), ramp(0.01f * float(rate)) {}
    float operator()(size_t i) const { return std::min(1.0f, float(len - i) / ramp); }
};

// Attack-decay-sustain-release level at sample i of a note held `hold`
// samples; the release starts from wherever the level was.
struct Adsr {
    float attack, decay, sustain, release;  // seconds, seconds, level, seconds
    float at(size_t i, size_t hold, float rate) const
    {
        auto held = [&](float t) {
            if (t < attack)
                return t / attack;
            const float d = t - attack;
            return sustain + (1.0f - sustain) * std::exp(-d / decay);
        };
        const float t = float(i) / rate;
        if (i < hold)
            return held(t);
        const float th = float(hold) / rate;
        return held(th) * std::exp(-(t - th) / (release * 0.25f));
    }
};

// Six square waves at unrelated frequencies: the metallic body of hats
// and cymbals.
struct Metal {
    Square osc[6];
    float hz[6] = {263.0f, 400.0f, 421.0f, 531.0f, 588.0f, 822.0f};
    float next(float rate, float scale)
    {
        float s = 0.0f;
        for (int k = 0; k < 6; ++k)
            s += osc[k].next(hz[k] * scale / rate);
        return s * (1.0f / 6.0f);
    }
};

}  // namespace

void render_pad(const NoteCtx& n, Buses& b)
{
    const size_t len = span(n, b, 1.6);
    const TailFade fade(len, b.rate);
    const float rate = float(b.rate);
    const float f = note_hz(n.key);
    const float detune = 0.0055f;  // about 9.5 cents
    Saw s0, s1, s2;
    s1.phase = 0.33f;
    s2.phase = 0.71f;
    Svf fl, fr;
    const Adsr env{0.7f, 1.0f, 1.0f, 1.6f};
    const float gain = 0.095f * n.velocity;
    for (size_t i = 0; i < len; ++i) {
        if ((i & 31) == 0) {
            // A slow breathing of the filter, tied to the absolute time so
            // chords move together.
            const float t = float(n.start + i) / rate;
            const float cut = 1100.0f + 650.0f * std::sin(2.0f * PI * 0.07f * t);
            fl.set(cut, 0.9f, rate);
            fr.set(cut * 1.08f, 0.9f, rate);
        }
        const float a = s0.next(f / rate);
        const float l = s1.next(f * (1.0f - detune) / rate);
        const float r = s2.next(f * (1.0f + detune) / rate);
        fl.run(a * 0.6f + l);
        fr.run(a * 0.6f + r);
        const float e = env.at(i, n.hold, rate) * gain * fade(i);
        const size_t j = n.start + i;
        b.duckL[j] += fl.low * e;
        b.duckR[j] += fr.low * e;
        b.verb[j] += (fl.low + fr.low) * e * 0.45f;
    }
}

void render_riser(const NoteCtx& n, Buses& b)
{
    const size_t len = span(n, b, 0.05);
    const TailFade fade(len, b.rate);
    const float rate = float(b.rate);
    Noise noise(n.seed);
    Svf f;
    const float total = float(std::max<size_t>(n.hold, 1));
    for (size_t i = 0; i < len; ++i) {
        const float x = std::min(float(i) / total, 1.0f);
        if ((i & 15) == 0)
            f.set(300.0f * std::exp2(x * 5.0f), 2.5f, rate);
        f.run(noise.next());
        float e = x * x * 0.07f * n.velocity * fade(i);
        if (i >= n.hold)
            e *= std::exp(-float(i - n.hold) / (0.01f * rate));
        const size_t j = n.start + i;
        // Pans from left to right as it rises.
        float gl, gr;
        pan_gains(x * 1.2f - 0.6f, gl, gr);
        b.duckL[j] += f.band * e * gl;
        b.duckR[j] += f.band * e * gr;
        b.verb[j] += f.band * e * 0.6f;
    }
}

void render_kick(const NoteCtx& n, Buses& b)
{
    const size_t len = span(n, b, 0.5);
    const TailFade fade(len, b.rate);
    const float rate = float(b.rate);
    float phase = 0.0f;
    const float gain = 0.62f * n.velocity;
    Noise noise(n.seed);
    for (size_t i = 0; i < len; ++i) {
        const float t = float(i) / rate;
        const float hz = 46.0f + 120.0f * std::exp(-t / 0.032f);
        phase += hz / rate;
        phase -= std::floor(phase);
        const float body = std::sin(2.0f * PI * phase) * std::exp(-t / 0.28f);
        const float click = noise.next() * std::exp(-t / 0.002f) * 0.5f;
        // Soft saturation thickens the body like an overdriven drum machine.
        const float v = std::tanh((body + click) * 1.6f) * gain * fade(i);
        const size_t j = n.start + i;
        b.dryL[j] += v;
        b.dryR[j] += v;
    }
}

void render_hit(const NoteCtx& n, Buses& b)
{
    const float rate = float(b.rate);
    Noise noise(n.seed);
    if (int(n.key) == 39) {
        // Clap: three quick bursts of band-passed noise, then a tail.
        const size_t len = span(n, b, 0.6);
        const TailFade fade(len, b.rate);
        Svf f;
        f.set(1150.0f, 1.4f, rate);
        const float gain = 0.9f * n.velocity;
        for (size_t i = 0; i < len; ++i) {
            const float t = float(i) / rate;
            float e;
            if (t < 0.027f) {
                // Each burst a little softer than the one before.
                const int burst = int(t / 0.009f);
                const float tb = t - float(burst) * 0.009f;
                e = (1.0f - 0.15f * float(burst)) * std::exp(-tb / 0.0035f);
            } else {
                e = 0.5f * std::exp(-(t - 0.027f) / 0.11f);
            }
            f.run(noise.next());
            const float v = f.band * e * gain * fade(i);
            const size_t j = n.start + i;
            b.dryL[j] += v;
            b.dryR[j] += v;
            b.verb[j] += v * 0.7f;
        }
        return;
    }
    // Snare: a pitched body under a burst of bright noise.
    const size_t len = span(n, b, 0.45);
    const TailFade fade(len, b.rate);
    Svf f;
    f.set(1800.0f, 0.7f, rate);
    float phase = 0.0f;
    const float gain = 0.6f * n.velocity;
    for (size_t i = 0; i < len; ++i) {
        const float t = float(i) / rate;
        phase += (180.0f + 60.0f * std::exp(-t / 0.01f)) / rate;
        phase -= std::floor(phase);
        const float tone = std::sin(2.0f * PI * phase) * std::exp(-t / 0.05f);
        f.run(noise.next());
        const float hiss = f.high * std::exp(-t / 0.13f);
        const float v = (tone * 0.55f + hiss * 0.8f) * gain * fade(i);
        const size_t j = n.start + i;
        b.dryL[j] += v;
        b.dryR[j] += v;
        b.verb[j] += v * 0.35f;
    }
}

void render_percussion(const NoteCtx& n, Buses& b)
{
    const float rate = float(b.rate);
    const int key = int(n.key);
    Noise noise(n.seed);
    Svf f;
    if (key == 36 || key == 48) {
        // Toms: a falling sine.
        const float base = key == 36 ? 82.0f : 128.0f;
        const float pan = key == 36 ? 0.25f : -0.35f;
        float gl, gr;
        pan_gains(pan, gl, gr);
        const size_t len = span(n, b, 0.5);
        const TailFade fade(len, b.rate);
        float phase = 0.0f;
        const float gain = 0.45f * n.velocity;
        for (size_t i = 0; i < len; ++i) {
            const float t = float(i) / rate;
            phase += base * (1.0f + 0.6f * std::exp(-t / 0.04f)) / rate;
            phase -= std::floor(phase);
            const float v = std::sin(2.0f * PI * phase) * std::exp(-t / 0.16f) * gain * fade(i);
            const size_t j = n.start + i;
            b.dryL[j] += v * gl;
            b.dryR[j] += v * gr;
            b.verb[j] += v * 0.3f;
        }
        return;
    }
    // Hats (42 closed, 46 open) and the tambourine (54) are filtered noise
    // over metal.
    float decay = 0.035f, cut = 7500.0f, gain = 0.22f, pan = 0.25f, metal = 0.6f;
    if (key == 46) {
        decay = 0.14f;
        gain = 0.14f;
        pan = 0.35f;
    } else if (key == 54) {
        decay = 0.07f;
        cut = 9500.0f;
        gain = 0.16f;
        pan = -0.45f;
        metal = 0.2f;
    }
    float gl, gr;
    pan_gains(pan, gl, gr);
    f.set(cut, 0.8f, rate);
    Metal m;
    const size_t len = span(n, b, decay * 7.0f);
    const TailFade fade(len, b.rate);
    gain *= n.velocity;
    for (size_t i = 0; i < len; ++i) {
        const float t = float(i) / rate;
        float e = std::exp(-t / decay);
        if (key == 54)  // the jingles rattle
            e *= 0.75f + 0.25f * std::sin(2.0f * PI * 38.0f * t);
        f.run(noise.next() * (1.0f - metal) + m.next(rate, 4.0f) * metal * 2.0f);
        const float v = f.high * e * gain * fade(i);
        const size_t j = n.start + i;
        b.dryL[j] += v * gl;
        b.dryR[j] += v * gr;
        b.verb[j] += v * 0.15f;
    }
}

void render_bass(const NoteCtx& n, Buses& b)
{
    const size_t len = span(n, b, 0.08);
    const TailFade fade(len, b.rate);
    const float rate = float(b.rate);
    const float f = note_hz(n.key);
    Saw saw;
    float sub = 0.0f;
    Svf lp;
    const Adsr env{0.003f, 0.25f, 0.65f, 0.06f};
    const float gain = 0.8f * n.velocity;
    for (size_t i = 0; i < len; ++i) {
        const float t = float(i) / rate;
        if ((i & 15) == 0)
            lp.set(140.0f + 1500.0f * n.velocity * std::exp(-t / 0.07f), 1.3f, rate);
        lp.run(saw.next(f / rate));
        sub += f / rate;
        sub -= std::floor(sub);
        const float v = (lp.low * 0.75f + std::sin(2.0f * PI * sub) * 0.6f) * env.at(i, n.hold, rate) * gain * fade(i);
        const size_t j = n.start + i;
        b.duckL[j] += v;
        b.duckR[j] += v;
    }
}

void render_lead(const NoteCtx& n, Buses& b, const ControlAt& cutoff)
{
    const size_t len = span(n, b, 0.3);
    const TailFade fade(len, b.rate);
    const float rate = float(b.rate);
    Saw s1, s2;
    s2.phase = 0.5f;
    Square sq;
    Svf lp;
    const Adsr env{0.008f, 0.25f, 0.75f, 0.3f};
    const float gain = 0.15f * n.velocity;
    float vib = 0.0f;
    for (size_t i = 0; i < len; ++i) {
        const float t = float(i) / rate;
        // Vibrato fades in on long notes.
        const float depth = std::min(std::max(t - 0.3f, 0.0f) * 0.4f, 0.18f);
        vib += 5.2f / rate;
        vib -= std::floor(vib);
        const float f = note_hz(n.key + depth * std::sin(2.0f * PI * vib));
        if ((i & 15) == 0) {
            const float cc = cutoff(n.start + i);
            const float hz = 150.0f * std::exp2(cc / 127.0f * 6.5f) * (1.0f + 1.5f * std::exp(-t / 0.12f));
            lp.set(hz, 2.2f, rate);
        }
        const float osc = s1.next(f * 0.997f / rate) + s2.next(f * 1.003f / rate) + 0.4f * sq.next(f * 0.5f / rate);
        lp.run(osc);
        const float v = lp.low * env.at(i, n.hold, rate) * gain * fade(i);
        const size_t j = n.start + i;
        b.dryL[j] += v;
        b.dryR[j] += v;
        b.echo[j] += v * 0.55f;
        b.verb[j] += v * 0.4f;
    }
}

void render_accent(const NoteCtx& n, Buses& b)
{
    const size_t len = span(n, b, 2.5);
    const TailFade fade(len, b.rate);
    const float rate = float(b.rate);
    Noise nl(n.seed), nr(n.seed + 7919u);
    Metal m;
    Svf fl, fr;
    fl.set(4200.0f, 0.7f, rate);
    fr.set(4600.0f, 0.7f, rate);
    float phase = 0.0f;
    const float gain = 0.4f * n.velocity;
    for (size_t i = 0; i < len; ++i) {
        const float t = float(i) / rate;
        const float metal = m.next(rate, 6.5f);
        fl.run(nl.next() * 0.7f + metal);
        fr.run(nr.next() * 0.7f + metal);
        const float e = std::exp(-t / 0.55f) * fade(i);
        phase += 48.0f / rate;
        phase -= std::floor(phase);
        const float boom = std::sin(2.0f * PI * phase) * std::exp(-t / 0.35f) * 0.9f * fade(i);
        const size_t j = n.start + i;
        b.dryL[j] += (fl.high * e * 0.5f + boom) * gain;
        b.dryR[j] += (fr.high * e * 0.5f + boom) * gain;
        b.verb[j] += (fl.high + fr.high) * e * gain * 0.4f;
    }
}
