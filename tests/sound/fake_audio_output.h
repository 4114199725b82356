#pragma once
// A stand-in sound device with a delay of its own: every buffer the player
// mixes is heard `latency` after it is asked for, on a manual clock the
// test moves. It keeps what was mixed and when it is heard, so a test can
// check which music a listener hears at any moment.
#include <cstdint>
#include <vector>

#include "platform/audio_output.h"
#include "platform/cManualTimeSource.h"

class FakeAudioOutput : public iAudioOutput {
public:
    struct Heard {
        int64_t atUs;                // when its first frame reaches the listener
        std::vector<int16_t> pcm;    // interleaved stereo
    };

    FakeAudioOutput(cManualTimeSource& clock, int latencyMs, bool timing = true)
        : m_clock(clock), m_latencyUs(int64_t(latencyMs) * 1000), m_timing(timing)
    {
    }

    bool open(int rate, int bufferFrames, MixFn mix, void* user) override
    {
        m_rate = rate;
        m_frames = bufferFrames;
        m_mix = mix;
        m_user = user;
        return true;
    }
    void close() override { m_mix = nullptr; }
    void lock() override {}
    void unlock() override {}
    void discard_queued() override { ++discards; }
    int buffer_frames() const override { return m_frames; }
    bool reports_timing() const override { return m_timing; }
    const char* name() const override { return "stand-in"; }

    // The device takes one buffer of `frames` now and then plays for as
    // long as it lasts at `speed` times its nominal rate (a device whose
    // crystal runs fast has speed > 1).
    void play_buffer(int frames = 512, double speed = 1.0)
    {
        Heard h{m_clock.counter() + m_latencyUs, std::vector<int16_t>(size_t(frames) * 2)};
        m_mix(m_user, h.pcm.data(), frames, m_timing ? m_latencyUs * m_rate / 1000000 : -1);
        heard.push_back(std::move(h));
        m_clock.advance_us(int64_t(double(frames) * 1000000.0 / (m_rate * speed)));
    }
    // The device takes nothing for a while (the machine is busy): what it
    // held runs out, and its delay afterwards is only `latencyMs`.
    void starve(int ms, int latencyMs)
    {
        m_clock.advance_ms(ms);
        m_latencyUs = int64_t(latencyMs) * 1000;
    }

    std::vector<Heard> heard;
    int discards = 0;

private:
    cManualTimeSource& m_clock;
    int64_t m_latencyUs;
    bool m_timing;
    int m_rate = 44100;
    int m_frames = 0;
    MixFn m_mix = nullptr;
    void* m_user = nullptr;
};
