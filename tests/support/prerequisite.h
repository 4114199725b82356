#pragma once
// What a test needs from the machine (a program, a GL feature, the baked
// tree) and does not find. ./test.sh installs every package and bakes the
// tree first, and says so (WENDIT_REQUIRE_ALL=1): there a missing
// prerequisite fails the test, since it means the installation is broken,
// not that the test does not apply. Run by hand, the test is skipped with
// the reason.
#include <gtest/gtest.h>

// Whether this run promises every prerequisite (./test.sh's promise).
bool prerequisites_required();

// Ends the test: a failure under ./test.sh, a skip elsewhere; `why` names
// what is missing and what provides it.
#define MISSING_PREREQUISITE(why)                                                              \
    do {                                                                                       \
        if (prerequisites_required())                                                          \
            FAIL() << why << " (./test.sh installs and bakes everything: missing is a failure)"; \
        else                                                                                   \
            GTEST_SKIP() << why;                                                               \
    } while (0)
