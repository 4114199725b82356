// wendit check [DATA_DIR]: every file the show loads, checked with the
// show's own readers, and every variable the show's timeline names; all
// problems in one list. Exit 0 when there are none.
#include <FreeImage.h>

#include <iostream>

#include "check/data_tree_check.h"
#include "check_list.h"
#include "commands.h"

int cmd_check(const Args& args)
{
    if (args.size() > 1 || (args.size() == 1 && !args[0].empty() && args[0][0] == '-')) {
        std::cerr << "usage: wendit check [DATA_DIR]" << std::endl;
        return 2;
    }
    const std::string dir = args.empty() ? "../data" : args[0];
    // FreeImage writes its own complaints here; the report says it better.
    FreeImage_SetOutputMessage([](FREE_IMAGE_FORMAT, const char*) {});
    cCheckReport r = check_data_tree(dir, show_asset_list());
    for (const std::string& p : show_timeline_problems())
        r.problems.push_back("the composition's timeline: " + p);
    for (const std::string& p : r.problems)
        std::cout << "wendit check: " << p << std::endl;
    if (r.problems.empty()) {
        std::cout << "wendit check: " << dir << ": all " << r.files << " files the show loads are in order"
                  << std::endl;
        return 0;
    }
    std::cout << "wendit check: " << dir << ": " << r.problems.size() << " problem"
              << (r.problems.size() == 1 ? "" : "s") << " in " << r.files << " files" << std::endl;
    return 1;
}
