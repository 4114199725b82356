#include "support/prerequisite.h"

#include <cstdlib>
#include <string>

bool prerequisites_required()
{
    for (const char* name : {"WENDIT_REQUIRE_ALL", "WENDIT_REQUIRE_BAKED"}) {
        const char* v = std::getenv(name);
        if (v && *v && std::string(v) != "0")
            return true;
    }
    return false;
}
