#include "render/pass_profile.h"

namespace {
iPassListener* g_listener = nullptr;
}

void set_pass_listener(iPassListener* listener)
{
    g_listener = listener;
}

iPassListener* pass_listener()
{
    return g_listener;
}
