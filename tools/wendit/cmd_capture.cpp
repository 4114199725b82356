// wendit capture: see capture/capture_run.h.
#include "capture/capture_run.h"
#include "commands.h"

int cmd_capture(const Args& args)
{
    return run_capture(args);
}
