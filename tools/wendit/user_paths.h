#pragma once
// An installed wendit's arguments, rewritten so that the paths the user
// typed, and the default outputs, mean places in the user's directory
// while the tool works inside its installed tree.
#include <string>

#include "app/run_place.h"
#include "commands.h"

// Rewrites args for `command` run from `place` (nothing changes in the
// source tree). False with a one-line reason when the command would write
// into the installed tree.
bool rewrite_user_paths(const WenditCommand& command, const RunPlace& place, Args& args, std::string& error);
