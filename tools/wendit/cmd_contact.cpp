// wendit contact: see capture/contact_run.h.
#include "contact/contact_run.h"
#include "commands.h"

int cmd_contact(const Args& args)
{
    return run_contact(args);
}
