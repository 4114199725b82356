// wendit bake [--data DIR]: writes the baked part of the data tree (default
// "../data", run from bin/).
#include <cstdio>
#include <fstream>
#include <iostream>

#include "bake_steps.h"
#include "commands.h"

int cmd_bake(const Args& args)
{
    std::string dataDir = "../data";
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--data" && i + 1 < args.size()) {
            dataDir = args[++i];
        } else {
            std::cerr << "usage: wendit bake [--data DIR]" << std::endl;
            return 2;
        }
    }
    // A tree being baked is not a baked tree until the last step is done:
    // the mark of an earlier bake goes first, so that a bake that fails
    // half-way leaves no mark on a tree of old and new files.
    std::remove((dataDir + "/.baked").c_str());
    for (int i = 0; i < BAKE_STEP_COUNT; ++i) {
        std::cout << "# bake: " << BAKE_STEPS[i].name << std::endl;
        if (!BAKE_STEPS[i].run(dataDir)) {
            std::cerr << "## ERROR: baking " << BAKE_STEPS[i].name << " failed" << std::endl;
            return 1;
        }
    }
    // Written last: a tree with this file holds every step's output, from
    // the baker as it was built then (the tests copy such a tree instead of
    // baking their own).
    std::ofstream(dataDir + "/.baked") << "baked by wendit bake\n";
    return 0;
}
