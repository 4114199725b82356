#include "util/time_code.h"

#include <cstdio>

std::string time_code(int ms)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d,%03d", ms / 3600000, (ms / 60000) % 60,
                  (ms / 1000) % 60, ms % 1000);
    return buf;
}
