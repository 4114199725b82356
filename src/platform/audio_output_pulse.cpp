#include "platform/audio_output_pulse.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>

cAudioOutputPulse::~cAudioOutputPulse()
{
    close();
}

bool cAudioOutputPulse::open(int rate, int bufferFrames, MixFn mix, void* user)
{
    close();
    pa_sample_spec sampleFormat{};
    sampleFormat.format = PA_SAMPLE_S16NE;
    sampleFormat.rate = uint32_t(rate);
    sampleFormat.channels = 2;
    // The server keeps about the buffer asked for queued; it starts playing
    // once a chunk is there.
    const uint32_t bytesPerFrame = 4;
    pa_buffer_attr attr{};
    attr.maxlength = uint32_t(-1);
    attr.tlength = uint32_t(std::max(bufferFrames, 2 * CHUNK_FRAMES)) * bytesPerFrame;
    attr.prebuf = uint32_t(CHUNK_FRAMES) * bytesPerFrame;
    attr.minreq = uint32_t(-1);
    attr.fragsize = uint32_t(-1);
    int err = 0;
    m_pa = pa_simple_new(nullptr, "morvane", PA_STREAM_PLAYBACK, nullptr, "music", &sampleFormat, nullptr, &attr, &err);
    if (!m_pa) {
        m_error = pa_strerror(err);
        return false;
    }
    m_mix = mix;
    m_user = user;
    m_rate = rate;
    m_frames = int(attr.tlength / bytesPerFrame);
    m_running = true;
    m_thread = std::thread(&cAudioOutputPulse::run, this);
    return true;
}

void cAudioOutputPulse::close()
{
    if (m_thread.joinable()) {
        m_running = false;
        m_thread.join();
    }
    if (m_pa) {
        pa_simple_free(m_pa);
        m_pa = nullptr;
    }
    m_frames = 0;
}

void cAudioOutputPulse::run()
{
    std::vector<int16_t> buffer(size_t(CHUNK_FRAMES) * 2);
    int err = 0;
    while (m_running) {
        if (m_discard.exchange(false))
            pa_simple_flush(m_pa, &err);
        // The latency now is when the first frame written next is heard:
        // everything queued before it plays out first.
        const pa_usec_t latency = pa_simple_get_latency(m_pa, &err);
        const int64_t delay = latency == pa_usec_t(-1) ? -1 : int64_t(latency) * m_rate / 1000000;
        {
            std::lock_guard<std::mutex> hold(m_mutex);
            m_mix(m_user, buffer.data(), CHUNK_FRAMES, delay);
        }
        // Blocks while the server's queue is full.
        if (pa_simple_write(m_pa, buffer.data(), buffer.size() * sizeof(int16_t), &err) < 0)
            break;
    }
}
