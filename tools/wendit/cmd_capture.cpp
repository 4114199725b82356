// wendit capture: see capture/capture_run.h.
#include "capture/capture_run.h"
#include "offline/capture_options.h"
#include "commands.h"

int cmd_capture(const Args& args)
{
    return run_capture(args);
}

std::string capture_default_output(const Args& args)
{
    // Arguments that do not parse name no file: the capture itself says
    // what is wrong with them.
    CaptureOptions o;
    std::string error;
    if (!parse_capture_args(args, false, o, error))
        return "";
    return o.output;
}
