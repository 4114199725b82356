#include "platform/stream_player.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/audio_output.h"
#include "platform/audio_output_pulse.h"
#include "platform/audio_output_sdl.h"
#include "platform/mp3_decode.h"
#include "platform/time_source.h"

struct sp_stream {
    std::vector<int16_t> pcm;  // interleaved stereo
    int64_t frames = 0;
    int64_t pos = 0;           // next frame to play
    int rate = 44100;
    // The caller's latest placement: frame syncFrame is to be heard when the
    // time source reads syncAt ticks.
    bool synced = false;
    int64_t syncFrame = 0;
    int64_t syncAt = 0;
};

struct sp_module {
    int order = 0;
    int volume = 255;
    bool playing = false;
};

namespace {

struct Channel {
    sp_stream* stream = nullptr;
    bool paused = false;
    int volume = 255;
    // Following: silent until the caller places the stream (after a start,
    // a seek or a resume).
    bool waiting = false;
    // Frames of silence before the stream's position: music placed to be
    // heard later than the device can already play.
    int64_t lead = 0;
};

// The player's state. One per process, like the audio device it drives.
struct Player {
    int output = SP_OUTPUT_DEVICE;
    int bufferMs = 150;
    bool initialised = false;
    bool deviceOpen = false;
    int rate = 44100;
    int deviceFrames = 0;
    std::vector<Channel> channels;
    std::vector<sp_stream*> streams;
    std::vector<sp_module*> modules;
    std::vector<int32_t> accum;
    int error = SP_ERR_NONE;
    iAudioOutput* injected = nullptr;      // a caller's output (tests)
    std::unique_ptr<iAudioOutput> owned;   // the one the player opened
    iAudioOutput* device = nullptr;        // whichever is open
    iTimeSource* clock = nullptr;          // null: the monotonic clock
    bool follow = false;
    std::atomic<int64_t> lastDelay{-1};
    std::string note;
};

// Never destroyed: the device's thread may still be mixing while the
// process exits, and must not find the state torn down under it.
Player& g_player = *new Player;

iTimeSource& player_clock()
{
    return g_player.clock ? *g_player.clock : default_time_source();
}

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

bool fail(int code)
{
    g_player.error = code;
    return false;
}

bool succeed()
{
    g_player.error = SP_ERR_NONE;
    return true;
}

// Holds the output's lock while the device runs, so its thread never sees
// a half-made change.
class Lock {
public:
    Lock() : m_device(g_player.deviceOpen ? g_player.device : nullptr)
    {
        if (m_device)
            m_device->lock();
    }
    ~Lock()
    {
        if (m_device)
            m_device->unlock();
    }

private:
    iAudioOutput* m_device;
};

// Within this much of where the caller placed it, the music plays on
// untouched: a jump is a click, and a few milliseconds are below what
// anyone hears as out of step.
constexpr int PLACE_TOLERANCE_MS = 5;

// Places every followed stream so that the first frame mixed now, heard
// `delay` frames from now, is the frame the caller's placement asks for.
void place_streams(int64_t delay)
{
    iTimeSource& clock = player_clock();
    const int64_t now = clock.counter();
    const double freq = double(clock.frequency());
    const int64_t tolerance = int64_t(PLACE_TOLERANCE_MS) * g_player.rate / 1000;
    for (Channel& c : g_player.channels) {
        sp_stream* s = c.stream;
        if (!s || c.paused || !s->synced)
            continue;
        const double heardAt = double(now) + double(delay) * freq / g_player.rate;
        const int64_t target = s->syncFrame + int64_t(std::llround((heardAt - double(s->syncAt)) * s->rate / freq));
        const int64_t current = s->pos - c.lead;
        if (!c.waiting && std::llabs(target - current) <= tolerance)
            continue;
        c.waiting = false;
        c.lead = target < 0 ? -target : 0;
        s->pos = std::clamp<int64_t>(target, 0, s->frames);
    }
}

void mix_unlocked(int16_t* out, int frames)
{
    std::vector<int32_t>& acc = g_player.accum;
    acc.assign(size_t(frames) * 2, 0);
    for (Channel& c : g_player.channels) {
        sp_stream* s = c.stream;
        if (!s || c.paused || c.waiting)
            continue;
        const int64_t skip = std::min<int64_t>(c.lead, frames);
        c.lead -= skip;
        const int64_t n = std::min<int64_t>(frames - skip, s->frames - s->pos);
        if (n <= 0)
            continue;
        const int16_t* src = s->pcm.data() + s->pos * 2;
        int32_t* dst = acc.data() + skip * 2;
        if (c.volume == 255) {
            for (int64_t i = 0; i < n * 2; ++i)
                dst[i] += src[i];
        } else if (c.volume > 0) {
            for (int64_t i = 0; i < n * 2; ++i)
                dst[i] += src[i] * c.volume / 255;
        }
        s->pos += n;
    }
    for (size_t i = 0; i < acc.size(); ++i)
        out[i] = int16_t(std::clamp<int32_t>(acc[i], -32768, 32767));
}

// What the output runs for each buffer, with its lock held.
void mix_for_output(void*, int16_t* out, int frames, int64_t delay)
{
    g_player.lastDelay = delay;
    if (delay >= 0 && g_player.follow)
        place_streams(delay);
    mix_unlocked(out, frames);
}

// After a seek, a start or a resume while following: what the device holds
// is dropped and the stream waits for the caller to place it.
void restart_following(Channel& c)
{
    if (!g_player.follow || !g_player.deviceOpen || !g_player.device->reports_timing())
        return;
    c.waiting = true;
    c.lead = 0;
    if (c.stream)
        c.stream->synced = false;
    g_player.device->discard_queued();
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

bool valid_channel(int channel)
{
    return channel >= 0 && channel < int(g_player.channels.size());
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

float sp_get_version()
{
    return 3.75f;
}

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

bool sp_stream_set_buffer_size(int bytes)
{
    if (bytes <= 0)
        return fail(SP_ERR_INVALID_PARAM);
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

int sp_get_error()
{
    return g_player.error;
}

const char* sp_error_text(int code)
{
    static const char* const TEXTS[] = {
        "No errors",
        "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.",
        "This command failed because FSOUND_Init was not called",
        "Error initializing output device.",
        "The output device is already in use and cannot be reused.",
        "Playing the sound failed.",
        "Soundcard does not support the features needed for this soundsystem (16bit stereo output)",
        "Error setting cooperative level for hardware.",
        "Error creating hardware sound buffer.",
        "File not found",
        "Unknown file format",
        "Error loading file",
        "Not enough memory ",
        "The version number of this file format is not supported",
        "An invalid parameter was passed to this function",
        "Tried to use an EAX command on a non EAX enabled channel or output.",
        "Failed to allocate a new channel",
        "Recording not supported on this device",
        "Required Mediaplayer codec is not installed",
    };
    if (code < 0 || code >= int(sizeof TEXTS / sizeof TEXTS[0]))
        return "Unknown error";
    return TEXTS[code];
}

sp_stream* sp_stream_open(const char* path, unsigned, int, int)
{
    if (!g_player.initialised) {
        fail(SP_ERR_UNINITIALIZED);
        return nullptr;
    }
    if (!path) {
        fail(SP_ERR_INVALID_PARAM);
        return nullptr;
    }
    sp_stream* s = new (std::nothrow) sp_stream;
    if (!s) {
        fail(SP_ERR_MEMORY);
        return nullptr;
    }
    std::string detail;
    switch (decode_mp3_file(path, g_player.rate, s->pcm, detail)) {
    case Mp3DecodeResult::ok:
        break;
    case Mp3DecodeResult::not_found:
        delete s;
        fail(SP_ERR_FILE_NOTFOUND);
        return nullptr;
    case Mp3DecodeResult::bad_format:
        delete s;
        fail(SP_ERR_FILE_FORMAT);
        return nullptr;
    case Mp3DecodeResult::bad_data:
        delete s;
        fail(SP_ERR_FILE_BAD);
        return nullptr;
    case Mp3DecodeResult::no_memory:
        delete s;
        fail(SP_ERR_MEMORY);
        return nullptr;
    }
    s->frames = int64_t(s->pcm.size() / 2);
    s->rate = g_player.rate;
    g_player.streams.push_back(s);
    succeed();
    return s;
}

int sp_stream_get_length_ms(const sp_stream* s)
{
    if (!s) {
        fail(SP_ERR_INVALID_PARAM);
        return 0;
    }
    succeed();
    return int(s->frames * 1000 / s->rate);
}

int sp_stream_play(int channel, sp_stream* s)
{
    if (!g_player.initialised) {
        fail(SP_ERR_UNINITIALIZED);
        return -1;
    }
    if (!s) {
        fail(SP_ERR_INVALID_PARAM);
        return -1;
    }
    Lock lock;
    if (channel == SP_FREE) {
        channel = -1;
        for (size_t i = 0; i < g_player.channels.size(); ++i)
            if (!g_player.channels[i].stream) {
                channel = int(i);
                break;
            }
        if (channel < 0) {
            fail(SP_ERR_CHANNEL_ALLOC);
            return -1;
        }
    } else if (!valid_channel(channel)) {
        fail(SP_ERR_INVALID_PARAM);
        return -1;
    }
    // A stream plays on one channel at a time: take it off any other.
    for (Channel& c : g_player.channels)
        if (c.stream == s)
            c.stream = nullptr;
    Channel& c = g_player.channels[size_t(channel)];
    c.stream = s;
    c.paused = false;
    c.volume = 255;
    s->pos = 0;
    restart_following(c);
    succeed();
    return channel;
}

bool sp_stream_set_time(sp_stream* s, int ms)
{
    if (!s)
        return fail(SP_ERR_INVALID_PARAM);
    Lock lock;
    const int64_t frame = int64_t(std::max(ms, 0)) * s->rate / 1000;
    s->pos = std::min(frame, s->frames);
    for (Channel& c : g_player.channels)
        if (c.stream == s)
            restart_following(c);
    return succeed();
}

int64_t sp_stream_get_position(const sp_stream* s)
{
    if (!s)
        return 0;
    Lock lock;
    return s->pos;
}

const int16_t* sp_stream_pcm(const sp_stream* s, int64_t* frames)
{
    if (frames)
        *frames = s ? s->frames : 0;
    return s ? s->pcm.data() : nullptr;
}

bool sp_set_paused(int channel, bool paused)
{
    if (!valid_channel(channel))
        return fail(SP_ERR_INVALID_PARAM);
    Lock lock;
    Channel& c = g_player.channels[size_t(channel)];
    if (c.paused != paused)
        restart_following(c);
    c.paused = paused;
    return succeed();
}

bool sp_get_paused(int channel)
{
    if (!valid_channel(channel))
        return fail(SP_ERR_INVALID_PARAM);
    return g_player.channels[size_t(channel)].paused;
}

bool sp_set_volume(int channel, int volume)
{
    if (!valid_channel(channel) || volume < 0 || volume > 255)
        return fail(SP_ERR_INVALID_PARAM);
    Lock lock;
    g_player.channels[size_t(channel)].volume = volume;
    return succeed();
}

void sp_mix(int16_t* out, int frames)
{
    if (!out || frames <= 0)
        return;
    Lock lock;
    mix_unlocked(out, frames);
}

int sp_output_rate()
{
    return g_player.rate;
}

int sp_device_buffer_frames()
{
    return g_player.deviceFrames;
}

sp_module* sp_module_load(const char* path)
{
    if (!g_player.initialised) {
        fail(SP_ERR_UNINITIALIZED);
        return nullptr;
    }
    if (FILE* f = path ? std::fopen(path, "rb") : nullptr) {
        std::fclose(f);
        fail(SP_ERR_FILE_FORMAT);
    } else {
        fail(SP_ERR_FILE_NOTFOUND);
    }
    return nullptr;
}

bool sp_module_play(sp_module* m)
{
    if (!m)
        return fail(SP_ERR_INVALID_PARAM);
    m->playing = true;
    m->order = 0;
    return succeed();
}

int sp_module_get_order(const sp_module* m)
{
    return m ? m->order : -1;
}

bool sp_module_set_order(sp_module* m, int order)
{
    if (!m || order < 0)
        return fail(SP_ERR_INVALID_PARAM);
    m->order = order;
    return succeed();
}

bool sp_module_set_master_volume(sp_module* m, int volume)
{
    if (!m || volume < 0 || volume > 255)
        return fail(SP_ERR_INVALID_PARAM);
    m->volume = volume;
    return succeed();
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

bool sp_stream_sync(sp_stream* s, int ms, int64_t atTicks)
{
    if (!s)
        return fail(SP_ERR_INVALID_PARAM);
    Lock lock;
    s->synced = true;
    s->syncFrame = int64_t(ms) * s->rate / 1000;
    s->syncAt = atTicks;
    return succeed();
}
