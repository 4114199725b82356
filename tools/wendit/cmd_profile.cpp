// wendit profile: see capture/profile_run.h.
#include "profile/profile_run.h"
#include "commands.h"

int cmd_profile(const Args& args)
{
    return run_profile(args);
}
