#include "bake_steps.h"

#include "bake_images.h"

// Each baker declares its step function here and adds one line below.
namespace {
bool bake_nothing(const std::string&) { return true; }
}  // namespace

const BakeStep BAKE_STEPS[] = {
    {"nothing yet", bake_nothing},
    {"textures/loadscreen.jpg", bake_loadscreen},
    {"textures/checker.jpg", bake_checker},
    {"textures/fontlist.png", bake_font},
};
const int BAKE_STEP_COUNT = sizeof(BAKE_STEPS) / sizeof(BAKE_STEPS[0]);
