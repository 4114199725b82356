#include "platform/time_source.h"

#include <cerrno>
#include <ctime>

namespace {
int64_t monotonic_ns()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
}  // namespace

int64_t monotonic_us()
{
    return monotonic_ns() / 1000;
}

cMonotonicTimeSource::cMonotonicTimeSource() : m_origin(monotonic_ns()) {}

int64_t cMonotonicTimeSource::counter()
{
    return monotonic_ns() - m_origin;
}

void cMonotonicTimeSource::sleep_ms(int ms)
{
    if (ms <= 0)
        return;
    timespec req{ms / 1000, long(ms % 1000) * 1000000L};
    while (nanosleep(&req, &req) != 0 && errno == EINTR) {
    }
}

iTimeSource& default_time_source()
{
    static cMonotonicTimeSource source;
    return source;
}
