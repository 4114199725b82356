#include "util/random_table.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {
constexpr uint64_t LCG_MULTIPLIER = 25214903917ULL;
constexpr uint64_t LCG_ADDEND = 11;
constexpr uint64_t LCG_MASK = (uint64_t(1) << 48) - 1;
constexpr uint64_t LCG_SEED = 1337;

std::vector<float> make_table()
{
    std::vector<float> table(RANDOM_TABLE_SIZE);
    uint64_t state = LCG_SEED;
    for (float& v : table) {
        state = (state * LCG_MULTIPLIER + LCG_ADDEND) & LCG_MASK;
        // state / 2^49 lies in [0, 0.5); a value just below 1 must not round
        // up to 1 as a float.
        v = float(0.5 + double(state) / double(uint64_t(1) << 49));
        if (v >= 1.0f)
            v = std::nextafter(1.0f, 0.0f);
    }
    return table;
}

size_t g_cursor = 0;
}  // namespace

const float* random_table()
{
    static const std::vector<float> table = make_table();
    return table.data();
}

float next_random()
{
    g_cursor = (g_cursor + 1) % RANDOM_TABLE_SIZE;
    return random_table()[g_cursor];
}

size_t random_cursor()
{
    return g_cursor;
}

void set_random_cursor(size_t cursor)
{
    g_cursor = cursor % RANDOM_TABLE_SIZE;
}
