#include "app/command_line.h"

#include <cstring>

bool capture_flag(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i)
        if (argv[i] && std::strcmp(argv[i], "--use_kkapture") == 0)
            return true;
    return false;
}
