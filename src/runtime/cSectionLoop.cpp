#include "runtime/cSectionLoop.h"

#include "timeline/show_position.h"
#include "util/time_code.h"

namespace {
std::string bound_text(const std::string& marker, int ms)
{
    const std::string t = ms >= 0 ? time_code(ms) : std::string("(not set)");
    return marker.empty() ? t : marker + " " + t;
}
}  // namespace

void cSectionLoop::follow_markers(const cEventQueue& queue)
{
    if (!startMarker.empty()) {
        const int t = script_marker_time(queue, startMarker);
        if (t >= 0)
            start = t;
    }
    if (!endMarker.empty()) {
        const int t = script_marker_time(queue, endMarker);
        if (t >= 0)
            end = t;
    }
}

std::string cSectionLoop::describe() const
{
    return bound_text(startMarker, start) + " .. " + bound_text(endMarker, end);
}
