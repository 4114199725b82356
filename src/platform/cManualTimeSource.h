#pragma once
// A time source that only moves when told to: tests and offline capture set
// the time, and a sleep simply advances it by the slept amount.
#include "platform/time_source.h"

class cManualTimeSource : public iTimeSource {
public:
    explicit cManualTimeSource(int64_t start_ms = 0) : m_us(start_ms * 1000) {}

    int64_t counter() override { return m_us; }
    int64_t frequency() override { return 1000000; }
    void sleep_ms(int ms) override { advance_ms(ms); }

    void set_ms(int64_t ms) { m_us = ms * 1000; }
    void advance_ms(int64_t ms) { m_us += ms * 1000; }
    void advance_us(int64_t us) { m_us += us; }
    int64_t ms() const { return m_us / 1000; }

private:
    int64_t m_us;
};
