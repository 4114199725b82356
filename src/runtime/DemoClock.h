#pragma once
// The demo clock: whole milliseconds of show time.
//
// Demo time = now - pausedTotal - start, where now is the time source's
// counter in ms at the last advance. Pause freezes now; seek moves start.
// Music is started, paused and seeked together with this clock, and never
// read back, so the two stay in step.
#include <cstdint>

class iTimeSource;

struct DemoClock {
    int start = 0;        // counter reading (ms) that is demo time 0
    int now = 0;          // counter reading (ms) at the last advance
    int previous = 0;     // now before the last advance
    bool paused = false;  // now is not advanced while paused
    int pausedTotal = 0;  // ms spent paused
    int64_t frequency = 0;  // counter ticks per second
    iTimeSource* source = nullptr;
    // Counts the jumps of demo time (the start jump and every seek), so
    // that time-driven state can tell a jump from a frame.
    int jumps = 0;

    int demo_time() const { return now - pausedTotal - start; }
    // Reads the counter in ms (truncated), as the clock stores it.
    int counter_ms() const;
    // previous = now, now = counter; does nothing while paused.
    void advance();
};
