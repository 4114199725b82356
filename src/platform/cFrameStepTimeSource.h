#pragma once
// A manual clock that moves by a fixed step each time a frame is presented,
// and by the slept amount on each sleep. With it the show runs at exact,
// repeatable frame times whatever the machine's speed: end-to-end tests use
// it, and so can an offline capture (a step of 1000/fps ms).
#include "platform/cManualTimeSource.h"

class cFrameStepTimeSource : public cManualTimeSource {
public:
    explicit cFrameStepTimeSource(int step_us) : m_step_us(step_us) {}
    void frame_presented() { advance_us(m_step_us); }
    int step_us() const { return m_step_us; }

private:
    int m_step_us;
};
