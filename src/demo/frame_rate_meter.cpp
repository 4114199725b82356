#include "demo/frame_rate_meter.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "util/time_code.h"

namespace {
long long now_us()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000LL + ts.tv_nsec / 1000;
}
}  // namespace

cFrameRateMeter::cFrameRateMeter()
{
    const char* v = std::getenv("WENDIT_FPS");
    m_on = v && *v && *v != '0';
}

void cFrameRateMeter::frame_presented(int demoTimeMs)
{
    if (!m_on)
        return;
    const long long now = now_us();
    if (m_windowStartUs == 0) {
        m_windowStartUs = now;
        return;
    }
    m_frames += 1;
    const double seconds = double(now - m_windowStartUs) / 1e6;
    if (seconds < 5.0)
        return;
    std::fprintf(stderr, "# fps %.1f (%d frames in %.1f s) at %s\n", m_frames / seconds, m_frames, seconds,
                 time_code(demoTimeMs).c_str());
    m_windowStartUs = now;
    m_frames = 0;
}
