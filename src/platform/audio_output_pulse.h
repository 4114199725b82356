#pragma once
// The sound output through a PulseAudio server (its simple API, on a
// thread of our own). Before each buffer it asks the server for the
// stream's latency: the time until a frame written now is heard, the
// server's queue and the sink's own delay together, so the player knows
// when every sample it mixes reaches the listener.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio_output.h"

struct pa_simple;

class cAudioOutputPulse : public iAudioOutput {
public:
    ~cAudioOutputPulse() override;
    bool open(int rate, int bufferFrames, MixFn mix, void* user) override;
    void close() override;
    void lock() override { m_mutex.lock(); }
    void unlock() override { m_mutex.unlock(); }
    void discard_queued() override { m_discard = true; }
    int buffer_frames() const override { return m_frames; }
    bool reports_timing() const override { return true; }
    const char* name() const override { return "PulseAudio"; }
    // Why the last open failed (the server's words).
    const std::string& error() const { return m_error; }

    // Frames mixed per write: small enough that a seek or a pause is heard
    // within a few tens of milliseconds whatever the buffer.
    static constexpr int CHUNK_FRAMES = 512;

private:
    void run();

    pa_simple* m_pa = nullptr;
    std::thread m_thread;
    std::mutex m_mutex;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_discard{false};
    MixFn m_mix = nullptr;
    void* m_user = nullptr;
    int m_rate = 44100;
    int m_frames = 0;
    std::string m_error;
};
