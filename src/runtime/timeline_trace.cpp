#include "runtime/timeline_trace.h"

#include <cstdlib>
#include <iostream>

#include "sound_player/stream_player.h"
#include "platform/time_source.h"
#include "runtime/cSceneManager.h"
#include "timeline/cEvent.h"

int music_ms(cSceneManager& sm)
{
    const sp_stream* stream = sm.sound().stream;
    int64_t frames = 0;
    if (!stream || !sp_stream_pcm(stream, &frames) || frames <= 0)
        return -1;
    return int(sp_stream_get_position(stream) * sp_stream_get_length_ms(stream) / frames);
}

bool timeline_trace_on()
{
    static const bool on = std::getenv("WENDIT_TIMELINE_TRACE") != nullptr;
    return on;
}

void trace_frame(cSceneManager& sm)
{
    if (timeline_trace_on())
        std::cerr << "# timeline-trace frame " << sm.demo_time() << " music " << music_ms(sm) << "\n";
}

void trace_event(const cEvent* e)
{
    if (timeline_trace_on())
        std::cerr << "# timeline-trace event " << e->time << " " << demo_event_name(e->id) << "\n";
}

void trace_seek(cSceneManager& sm, int ms)
{
    if (timeline_trace_on())
        std::cerr << "# timeline-trace seek " << ms << " music " << music_ms(sm) << "\n";
}

void trace_swap(cSceneManager& sm)
{
    static const bool on = std::getenv("WENDIT_SWAP_TRACE") != nullptr;
    if (on)
        std::cerr << "# swap-trace " << sm.demo_time() << " " << monotonic_us() << "\n";
}
