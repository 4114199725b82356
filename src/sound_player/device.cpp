// The output device: which one opens (an injected stand-in, PulseAudio,
// SDL), the mixer's start and stop, and what the open device reports.
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/audio_output_pulse.h"
#include "platform/audio_output_sdl.h"
#include "sound_player/player_state.h"

namespace sound_player {
namespace {
void close_device()
{
    if (!g_player.deviceOpen)
        return;
    g_player.device->close();
    g_player.deviceOpen = false;
    g_player.device = nullptr;
    // The player's own output outlives the process's exit on purpose: its
    // thread is joined, nothing else is torn down here.
}

// exit() can come at any moment (a failed start-up, the quit marker): the
// device stops before anything else is torn down.
void stop_device_at_exit()
{
    close_device();
}

// The device buffer in frames: a power of two (SDL asks for one) near the
// requested time; 0 ms asks for the smallest that devices commonly accept.
int buffer_frames(int ms, int rate)
{
    if (ms <= 0)
        return 256;
    const double want = double(ms) * rate / 1000.0;
    int frames = 256;
    while (frames < 32768 && std::abs(frames * 2 - want) < std::abs(frames - want))
        frames *= 2;
    return frames;
}

// SDL_AUDIODRIVER names the driver the user wants, and SDL's is used as
// asked (SDL_AUDIODRIVER=pulse too: SDL's own way to the server, which
// does not tell the delay). Unset, the player first tries the sound server
// directly.
bool pulse_wanted()
{
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    return !driver || !*driver;
}

// Opens the output: the injected one, else PulseAudio, else SDL's device.
bool open_device(int frames)
{
    if (g_player.injected) {
        g_player.device = g_player.injected;
        return g_player.device->open(g_player.rate, frames, mix_for_output, nullptr);
    }
    std::string why;
    if (pulse_wanted()) {
        auto pulse = std::make_unique<cAudioOutputPulse>();
        if (pulse->open(g_player.rate, frames, mix_for_output, nullptr)) {
            g_player.owned = std::move(pulse);
            g_player.device = g_player.owned.get();
            return true;
        }
        why = "no PulseAudio server (" + pulse->error() + ")";
    }
    auto sdl = std::make_unique<cAudioOutputSdl>();
    if (!sdl->open(g_player.rate, frames, mix_for_output, nullptr))
        return false;
    if (sdl->driver() != "dummy") {
        if (why.empty())
            why = "the SDL driver \"" + sdl->driver() + "\" does not tell when its samples are heard";
        g_player.note = "# sound: " + why + ": the music plays on the clock through " + sdl->name() +
                        ", behind the picture by whatever the device holds";
    }
    g_player.owned = std::move(sdl);
    g_player.device = g_player.owned.get();
    return true;
}
}  // namespace
}  // namespace sound_player

using namespace sound_player;

bool sp_set_output(int output)
{
    if (g_player.initialised)
        return fail(SP_ERR_BUSY);
    if (output != SP_OUTPUT_NOSOUND && output != SP_OUTPUT_DEVICE)
        return fail(SP_ERR_INVALID_PARAM);
    g_player.output = output;
    return succeed();
}

bool sp_set_buffer_size(int ms)
{
    if (g_player.initialised)
        return fail(SP_ERR_BUSY);
    if (ms < 0)
        return fail(SP_ERR_INVALID_PARAM);
    g_player.bufferMs = ms;
    return succeed();
}

bool sp_init(int rate, int channels, unsigned)
{
    if (g_player.initialised)
        return fail(SP_ERR_BUSY);
    if (rate < 8000 || rate > 192000 || channels < 1 || channels > 64)
        return fail(SP_ERR_INVALID_PARAM);
    g_player.rate = rate;
    g_player.channels.assign(size_t(channels), Channel());
    g_player.deviceFrames = 0;
    g_player.note.clear();
    g_player.lastDelay = -1;
    if (g_player.output == SP_OUTPUT_DEVICE) {
        if (!open_device(buffer_frames(g_player.bufferMs, rate))) {
            g_player.owned.reset();
            g_player.device = nullptr;
            return fail(SP_ERR_INIT);
        }
        g_player.deviceFrames = g_player.device->buffer_frames();
        g_player.deviceOpen = true;
        static const bool hooked = std::atexit(stop_device_at_exit) == 0;
        (void)hooked;
    }
    g_player.initialised = true;
    return succeed();
}

void sp_close()
{
    close_device();
    g_player.owned.reset();
    g_player.follow = false;
    for (sp_stream* s : g_player.streams)
        delete s;
    for (sp_module* m : g_player.modules)
        delete m;
    g_player.streams.clear();
    g_player.modules.clear();
    g_player.channels.clear();
    g_player.accum.clear();
    g_player.initialised = false;
    g_player.deviceFrames = 0;
}

int sp_output_rate()
{
    return g_player.rate;
}

int sp_device_buffer_frames()
{
    return g_player.deviceFrames;
}

bool sp_set_audio_output(iAudioOutput* output)
{
    if (g_player.initialised)
        return fail(SP_ERR_BUSY);
    g_player.injected = output;
    return succeed();
}

void sp_set_time_source(iTimeSource* source)
{
    Lock lock;
    g_player.clock = source;
}

bool sp_output_reports_timing()
{
    return g_player.deviceOpen && g_player.device->reports_timing();
}

const char* sp_output_name()
{
    return g_player.deviceOpen ? g_player.device->name() : "no device";
}

const std::string& sp_output_note()
{
    return g_player.note;
}

int sp_output_delay_ms()
{
    const int64_t delay = g_player.lastDelay;
    return delay < 0 ? -1 : int(delay * 1000 / g_player.rate);
}

void sp_set_follow(bool follow)
{
    Lock lock;
    g_player.follow = follow && sp_output_reports_timing();
}

bool sp_following()
{
    return g_player.follow;
}
