#include "platform/startup_trace.h"

#include <cstdlib>
#include <ctime>
#include <iostream>

void startup_mark(const char* name)
{
    static const bool on = std::getenv("WENDIT_STARTUP_TRACE") != nullptr;
    if (!on)
        return;
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const long long us = (long long)ts.tv_sec * 1000000LL + ts.tv_nsec / 1000;
    std::cerr << "# startup-trace " << name << " " << us << std::endl;
}
