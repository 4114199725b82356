#pragma once
// What `wendit --help`, `wendit --version` and `wendit COMMAND --help`
// print: the command list, the version, one command's usage with its
// arguments.
#include <cstdio>

#include "commands.h"

// The version of the project wendit was built from, "wendit (morvane) X.Y.Z".
void print_version(FILE* out);
void print_command_list(const WenditCommand* commands, size_t count, FILE* out);
void print_command_help(const WenditCommand& command, FILE* out);
// True when the arguments ask for the command's help (-h or --help).
bool asks_for_help(const Args& args);
