#include "util/fatal_exit.h"

#include <cstdlib>

namespace {
void (*g_teardown)() = nullptr;
}  // namespace

void set_exit_teardown(void (*teardown)())
{
    g_teardown = teardown;
}

void end_process(int code)
{
    // Taken before it runs, so that a fatal error inside the teardown exits
    // without running it again.
    if (void (*teardown)() = g_teardown) {
        g_teardown = nullptr;
        teardown();
    }
    std::exit(code);
}
