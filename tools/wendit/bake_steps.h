#pragma once
// The asset baker's steps. `wendit bake` runs them in order; each writes its
// files under the data directory it is given and returns false (after saying
// why on standard error) when it fails. Steps are deterministic: the same
// sources give the same bytes.
#include <string>

struct BakeStep {
    std::string name;     // what it makes, for the progress line
    bool (*run)(const std::string& dataDir);
};

// Defined in bake_steps.cpp: one line per step.
extern const BakeStep BAKE_STEPS[];
extern const int BAKE_STEP_COUNT;
