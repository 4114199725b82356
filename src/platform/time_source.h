#pragma once
// Where the demo clock gets its time.
//
// The clock reads a tick counter and its frequency and converts to whole
// milliseconds; the waits of the start-up sequence sleep through the same
// source. The show runs on the monotonic clock; tests and offline capture
// hand in a cManualTimeSource and move time themselves, so a run is exact
// and repeatable.
#include <cstdint>

class iTimeSource {
public:
    virtual ~iTimeSource() = default;
    // Ticks since some fixed point of this source; never goes backwards.
    virtual int64_t counter() = 0;
    // Ticks per second.
    virtual int64_t frequency() = 0;
    virtual void sleep_ms(int ms) = 0;
};

// Monotonic wall time, counted from the source's construction so that the
// millisecond readings stay small (they are kept in an int).
class cMonotonicTimeSource : public iTimeSource {
public:
    cMonotonicTimeSource();
    int64_t counter() override;
    int64_t frequency() override { return 1000000000; }
    void sleep_ms(int ms) override;

private:
    int64_t m_origin;
};

// CLOCK_MONOTONIC in microseconds, from the system's own origin: what
// another process (a measurement) can set beside its own readings.
int64_t monotonic_us();

// The process-wide monotonic source, used when nobody injects another.
iTimeSource& default_time_source();
