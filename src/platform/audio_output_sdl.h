#pragma once
// The sound output through SDL's audio device (SDL_AUDIODRIVER chooses the
// driver). SDL 1.2 does not say when the samples it takes are heard, so
// this output reports no timing.
#include <string>

#include "platform/audio_output.h"

class cAudioOutputSdl : public iAudioOutput {
public:
    bool open(int rate, int bufferFrames, MixFn mix, void* user) override;
    void close() override;
    void lock() override;
    void unlock() override;
    void discard_queued() override {}
    int buffer_frames() const override { return m_frames; }
    bool reports_timing() const override { return false; }
    const char* name() const override { return m_name.c_str(); }
    // The driver SDL opened ("dummy", "alsa", "pulse", ...); empty before.
    const std::string& driver() const { return m_driver; }

private:
    static void callback(void* self, unsigned char* stream, int len);
    bool m_open = false;
    int m_frames = 0;
    MixFn m_mix = nullptr;
    void* m_user = nullptr;
    std::string m_driver;
    std::string m_name = "SDL";
};
