#pragma once
// A section of the show played over and over while it is being tuned:
// demo time runs from start up to (not including) end, then clock, music
// and events go back to start together.
//
// A bound set from a marker keeps the marker's name, so that it follows the
// marker when the marker script is edited and reloaded.
#include <string>

class cEventQueue;

class cSectionLoop {
public:
    bool on = false;
    int start = -1;  // ms
    int end = -1;    // ms, exclusive
    std::string startMarker, endMarker;  // empty for bounds given as times

    bool valid() const { return start >= 0 && end > start; }
    // True when the frame at demo time t has reached the end.
    bool due(int t) const { return on && valid() && t >= end; }
    // Moves marker-named bounds to their markers' times in `queue`; a
    // marker the script no longer has leaves its bound where it was.
    void follow_markers(const cEventQueue& queue);
    // "s05 00:00:38,000 .. s06 00:00:42,000"
    std::string describe() const;
};
