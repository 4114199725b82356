// wendit icon [--size N] [-o FILE.png]: the show's icon for the desktop menu.
#include <cstdlib>
#include <iostream>

#include "assets/icon.h"
#include "commands.h"

int cmd_icon(const Args& args)
{
    std::string output = "morvane.png";
    int size = 256;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) {
            output = args[++i];
        } else if (args[i] == "--size" && i + 1 < args.size()) {
            char* end = nullptr;
            const long v = std::strtol(args[++i].c_str(), &end, 10);
            if (*end || v < 16 || v > 1024) {
                std::cerr << "wendit icon: --size '" << args[i] << "': give 16 to 1024 pixels" << std::endl;
                return 2;
            }
            size = int(v);
        } else {
            std::cerr << "usage: wendit icon [--size N] [-o FILE.png]" << std::endl;
            return 2;
        }
    }
    return draw_icon(output, size) ? 0 : 1;
}
