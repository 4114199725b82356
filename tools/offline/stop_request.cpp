#include "offline/stop_request.h"

#include <signal.h>

namespace {
volatile sig_atomic_t g_stop = 0;

void on_stop(int)
{
    g_stop = 1;
}
}  // namespace

void install_stop_handlers()
{
    struct sigaction sa {};
    sa.sa_handler = on_stop;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    // Past a file-size limit a write fails like on a full disk, instead of
    // the process dying with its temporary file left behind.
    signal(SIGXFSZ, SIG_IGN);
}

bool stop_requested()
{
    return g_stop != 0;
}
