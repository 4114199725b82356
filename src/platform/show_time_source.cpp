#include "platform/show_time_source.h"

#include <cmath>
#include <cstdlib>

#include "platform/cFrameStepTimeSource.h"
#include "platform/time_source.h"

namespace {
cFrameStepTimeSource* g_stepped = nullptr;
bool g_decided = false;
}  // namespace

int parse_frame_step_us(const char* text)
{
    if (!text || !*text)
        return 0;
    char* end = nullptr;
    double ms = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(ms) || ms <= 0.0 || ms > 60000.0)
        return 0;
    int us = int(std::lround(ms * 1000.0));
    return us > 0 ? us : 0;
}

iTimeSource* show_time_source()
{
    if (!g_decided) {
        g_decided = true;
        if (int us = parse_frame_step_us(std::getenv("WENDIT_FRAME_MS")))
            g_stepped = new cFrameStepTimeSource(us);  // lives as long as the process
    }
    return g_stepped ? static_cast<iTimeSource*>(g_stepped) : &default_time_source();
}

cFrameStepTimeSource* frame_step_source()
{
    show_time_source();
    return g_stepped;
}
