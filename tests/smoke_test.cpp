#include <gtest/gtest.h>
#include "util/time_code.h"
TEST(TimeCode, Formats) { EXPECT_EQ(time_code(83456), "00:01:23,456"); }
