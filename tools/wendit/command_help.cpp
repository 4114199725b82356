#include "command_help.h"

#ifndef MORVANE_VERSION
#error "MORVANE_VERSION (the CMake project version) must be defined"
#endif

void print_version(FILE* out)
{
    std::fprintf(out, "wendit (morvane) %s\n", MORVANE_VERSION);
}

void print_command_list(const WenditCommand* commands, size_t count, FILE* out)
{
    std::fprintf(out, "usage: wendit COMMAND [ARGS]\n       wendit COMMAND --help\n       wendit --version\n\n"
                      "commands:\n");
    for (size_t i = 0; i < count; ++i)
        std::fprintf(out, "  %s %s\n      %s\n", commands[i].name, commands[i].usage, commands[i].summary);
    std::fprintf(out, "  help [COMMAND]\n      this text, or one command's arguments\n");
}

void print_command_help(const WenditCommand& command, FILE* out)
{
    std::fprintf(out, "usage: wendit %s %s\n\n%s\n", command.name, command.usage, command.summary);
    if (*command.options)
        std::fprintf(out, "\narguments:\n%s", command.options);
    std::fprintf(out, "  -h, --help\n      this text\n");
}

bool asks_for_help(const Args& args)
{
    for (const std::string& a : args)
        if (a == "-h" || a == "--help")
            return true;
    return false;
}
