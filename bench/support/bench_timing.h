#pragma once
// The timing loops every benchmark takes its figures with.
#include <chrono>
#include <functional>
#include <vector>

namespace bench {
using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point t);

// Milliseconds per call, the GL pipeline drained before and after; one call
// first, untimed (shader variants, texture residency).
double time_per_call(const std::function<void()>& f, int iterations);

// The fastest of `runs` calls, in milliseconds: the least disturbed
// measurement on a shared machine.
double best_ms(int runs, const std::function<void()>& f);

// The process's processor time so far, in seconds, all its threads.
double cpu_seconds();

// The median (the upper one of an even count); 0 for none.
double median(std::vector<double> v);
}  // namespace bench
