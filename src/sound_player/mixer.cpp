// The mixer: every playing channel summed into the device's buffer, and
// the followed streams placed where the caller's clock wants them heard.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "sound_player/player_state.h"

namespace sound_player {
namespace {
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
}  // namespace

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

void mix_for_output(void*, int16_t* out, int frames, int64_t delay)
{
    g_player.lastDelay = delay;
    if (delay >= 0 && g_player.follow)
        place_streams(delay);
    mix_unlocked(out, frames);
}

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

}  // namespace sound_player

using namespace sound_player;

void sp_mix(int16_t* out, int frames)
{
    if (!out || frames <= 0)
        return;
    Lock lock;
    mix_unlocked(out, frames);
}
