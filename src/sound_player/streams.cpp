// Streams: a track decoded whole when it opens, played on a channel,
// moved, paused, turned down and placed in time.
#include <algorithm>
#include <new>
#include <string>

#include "platform/mp3_decode.h"
#include "sound_player/player_state.h"

using namespace sound_player;

namespace {
int error_of(Mp3DecodeResult result)
{
    switch (result) {
    case Mp3DecodeResult::ok: return SP_ERR_NONE;
    case Mp3DecodeResult::not_found: return SP_ERR_FILE_NOTFOUND;
    case Mp3DecodeResult::bad_format: return SP_ERR_FILE_FORMAT;
    case Mp3DecodeResult::bad_data: return SP_ERR_FILE_BAD;
    case Mp3DecodeResult::no_memory: return SP_ERR_MEMORY;
    }
    return SP_ERR_FILE_BAD;
}
}  // namespace

bool sp_stream_set_buffer_size(int bytes)
{
    if (bytes <= 0)
        return fail(SP_ERR_INVALID_PARAM);
    return succeed();
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
    const int error = error_of(decode_mp3_file(path, g_player.rate, s->pcm, detail));
    if (error != SP_ERR_NONE) {
        delete s;
        fail(error);
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
