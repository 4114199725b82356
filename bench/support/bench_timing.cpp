#include "support/bench_timing.h"

#include <GL/gl.h>
#include <time.h>

#include <algorithm>

namespace bench {

double ms_since(Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

double time_per_call(const std::function<void()>& f, int iterations)
{
    f();
    glFinish();
    const Clock::time_point t = Clock::now();
    for (int i = 0; i < iterations; ++i)
        f();
    glFinish();
    return ms_since(t) / iterations;
}

double best_ms(int runs, const std::function<void()>& f)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point t = Clock::now();
        f();
        best = std::min(best, ms_since(t));
    }
    return best;
}

double cpu_seconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace bench
