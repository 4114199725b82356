// wendit join: see capture/join_run.h.
#include "segments/join_run.h"
#include "commands.h"

int cmd_join(const Args& args)
{
    return run_join(args);
}
