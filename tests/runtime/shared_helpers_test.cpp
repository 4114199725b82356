// The shared random table and the time-code text.
#include <gtest/gtest.h>

#include <cstdint>

#include "util/random_table.h"
#include "util/time_code.h"

TEST(TimeCode, HoursMinutesSecondsAndMilliseconds)
{
    EXPECT_EQ(time_code(83456), "00:01:23,456");
    EXPECT_EQ(time_code(3723004), "01:02:03,004");
    EXPECT_EQ(time_code(59999), "00:00:59,999");
    EXPECT_EQ(time_code(0), "00:00:00,000");
    EXPECT_EQ(time_code(360000000), "100:00:00,000");
}

TEST(RandomTable, ValuesComeFromTheSeededGeneratorAndLieInHalfToOne)
{
    const float* t = random_table();
    // First value by hand: state = 1337 * 25214903917 + 11 (mod 2^48).
    uint64_t state = (1337ULL * 25214903917ULL + 11ULL) & ((1ULL << 48) - 1);
    EXPECT_FLOAT_EQ(t[0], float(0.5 + double(state) / double(1ULL << 49)));
    double sum = 0;
    for (size_t i = 0; i < RANDOM_TABLE_SIZE; ++i) {
        ASSERT_GE(t[i], 0.5f);
        ASSERT_LT(t[i], 1.0f);
        sum += t[i];
    }
    EXPECT_NEAR(sum / RANDOM_TABLE_SIZE, 0.75, 0.005);
}

TEST(RandomTable, OneCursorAdvancesBeforeReadingAndWraps)
{
    const float* t = random_table();
    set_random_cursor(0);
    EXPECT_EQ(next_random(), t[1]);
    EXPECT_EQ(next_random(), t[2]);
    EXPECT_EQ(random_cursor(), 2u);
    set_random_cursor(RANDOM_TABLE_SIZE - 1);
    EXPECT_EQ(next_random(), t[0]);
    EXPECT_EQ(random_cursor(), 0u);
}
