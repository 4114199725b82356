#include "runtime/DemoClock.h"

#include "platform/time_source.h"

int DemoClock::counter_ms() const
{
    if (!source || frequency <= 0)
        return 0;
    return int(double(source->counter()) / double(frequency) * 1000.0);
}

void DemoClock::advance()
{
    if (paused)
        return;
    previous = now;
    now = counter_ms();
}
