#include "timeline/show_position.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

#include "timeline/cEvent.h"
#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"

namespace {
bool all_digits(const std::string& s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool is_script_event(const cEvent* e)
{
    return e->id != DE_MIDI && e->id != DE_MIDI_BEAT && e->id != DE_NONE;
}
}  // namespace

bool parse_time_or_seconds(const std::string& text, int& ms)
{
    if (text.find_first_of(",:") != std::string::npos) {
        int v = 0;
        // The script's own reader accepts signs and trailing text in fields;
        // a place on the command line is plain digits and separators.
        if (text.find_first_not_of("0123456789,:") != std::string::npos || !cEventQueue_factory::parse_time(text, v))
            return false;
        ms = v;
        return true;
    }
    const size_t point = text.find('.');
    const std::string whole = text.substr(0, point);
    const std::string frac = point == std::string::npos ? "" : text.substr(point + 1);
    // Whole seconds that still fit demo time in ms.
    if (!all_digits(whole) || whole.size() > 7 || std::atol(whole.c_str()) > INT_MAX / 1000 - 1)
        return false;
    if (point != std::string::npos && (!all_digits(frac) || frac.size() > 3))
        return false;
    std::string millis = frac;
    millis.resize(3, '0');
    ms = std::atoi(whole.c_str()) * 1000 + std::atoi(millis.c_str());
    return true;
}

int script_marker_time(const cEventQueue& queue, const std::string& token)
{
    for (const cEvent* e : queue.events())
        if (is_script_event(e) && demo_event_name(e->id) == token)
            return e->time;
    return -1;
}

bool resolve_time_or_marker(const cEventQueue& queue, const std::string& text, int& ms, std::string& error)
{
    if (parse_time_or_seconds(text, ms))
        return true;
    const int t = script_marker_time(queue, text);
    if (t >= 0) {
        ms = t;
        return true;
    }
    error = "'" + text + "' is neither a time (seconds or hh:mm:ss,mmm) nor a marker of the marker script";
    return false;
}

std::vector<ScriptMarker> script_markers(const cEventQueue& queue)
{
    std::vector<ScriptMarker> out;
    for (const cEvent* e : queue.events()) {
        if (!is_script_event(e))
            continue;
        if (out.empty() || out.back().time != e->time)
            out.push_back({e->time, demo_event_name(e->id)});
    }
    return out;
}

const ScriptMarker* nearest_marker(const std::vector<ScriptMarker>& markers, int t)
{
    // Distances in 64 bits: a script may put a marker anywhere in demo
    // time, and the difference of two such times need not fit an int.
    auto distance = [t](const ScriptMarker& m) { return std::llabs(int64_t(m.time) - int64_t(t)); };
    const ScriptMarker* best = nullptr;
    for (const ScriptMarker& m : markers)
        if (!best || distance(m) < distance(*best))
            best = &m;
    return best;
}

const ScriptMarker* previous_marker(const std::vector<ScriptMarker>& markers, int t, int grace)
{
    const ScriptMarker* found = nullptr;
    for (const ScriptMarker& m : markers)
        if (int64_t(m.time) < int64_t(t) - grace)
            found = &m;
    return found;
}

const ScriptMarker* next_marker(const std::vector<ScriptMarker>& markers, int t)
{
    for (const ScriptMarker& m : markers)
        if (m.time > t)
            return &m;
    return nullptr;
}
