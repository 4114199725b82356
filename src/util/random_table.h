#pragma once
// The shared random table: 131072 floats in [0.5, 1), filled once from a
// 48-bit linear congruential generator, and one cursor that every consumer
// (scenes, the film grain, the composition's finish) advances in frame
// order. Same seed, same order of draws: the same picture every run.
#include <cstddef>

constexpr size_t RANDOM_TABLE_SIZE = 0x20000;

// The table, filled on first use.
const float* random_table();
// Advances the cursor by one (wrapping) and returns the entry there.
float next_random();
size_t random_cursor();
// For offline capture and tests that need a known starting point.
void set_random_cursor(size_t cursor);
