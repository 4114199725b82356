#include "platform/audio_output_sdl.h"

#include <SDL/SDL.h>

bool cAudioOutputSdl::open(int rate, int bufferFrames, MixFn mix, void* user)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    m_mix = mix;
    m_user = user;
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = Uint16(bufferFrames);
    want.callback = &cAudioOutputSdl::callback;
    want.userdata = this;
    // Without an "obtained" format SDL converts to whatever the device
    // takes, so the mixer always works in 16-bit stereo at `rate`.
    if (SDL_OpenAudio(&want, nullptr) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    char driver[64] = "";
    if (SDL_AudioDriverName(driver, sizeof driver))
        m_driver = driver;
    m_name = "SDL (" + m_driver + ")";
    m_frames = want.samples;
    m_open = true;
    SDL_PauseAudio(0);
    return true;
}

void cAudioOutputSdl::close()
{
    if (!m_open)
        return;
    SDL_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_open = false;
    m_frames = 0;
}

void cAudioOutputSdl::lock()
{
    if (m_open)
        SDL_LockAudio();
}

void cAudioOutputSdl::unlock()
{
    if (m_open)
        SDL_UnlockAudio();
}

void cAudioOutputSdl::callback(void* self, unsigned char* stream, int len)
{
    // SDL holds the audio lock while it calls back.
    auto* out = static_cast<cAudioOutputSdl*>(self);
    out->m_mix(out->m_user, reinterpret_cast<int16_t*>(stream), len / 4, -1);
}
