#include "timeline/cEventWindow.h"

#include <cmath>

#include "timeline/cEventQueue.h"
#include "timeline/iMidiEvent.h"

namespace {
// Distance used when there is no note on that side: far beyond any window.
constexpr float NO_NOTE = 1.7014117e38f;

float clamp01(float x)
{
    return x < 0.f ? 0.f : (x > 1.f ? 1.f : x);
}
float smoothstep(float x)
{
    return x * x * (3.f - 2.f * x);
}
// 1 at distance 0, falling to 0 at the window's width. A window of width 0
// (or less) only counts a note exactly under the time.
float ramp(float distance, float width)
{
    if (!(width > 0.f))
        return distance == 0.f ? 1.f : 0.f;
    return 1.f - clamp01(distance / width);
}
}  // namespace

bool cEventWindow::cEventMatch_midiTrack::match(const cEvent* e) const
{
    return is_note_on(e, track);
}

bool cEventMatch_midiNote::match(const cEvent* e) const
{
    return is_note_on(e, track, note);
}

float cEventWindow::envelope_at(int t, const cEventQueue& queue) const
{
    cEventMatch_midiTrack m(track);
    const cEvent* next = queue.find_next(m);
    const cEvent* prev = queue.find_prev(m);
    float dn = next ? std::fabs(float(t) - float(next->time)) : NO_NOTE;
    float dp = prev ? std::fabs(float(t) - float(prev->time)) : NO_NOTE;
    return smoothstep(ramp(dn, before)) + smoothstep(ramp(dp, after));
}
