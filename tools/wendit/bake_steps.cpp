#include "bake_steps.h"

#include <iostream>

#include "assets/bake_images.h"
#include "assets/bake_middle.h"
#include "assets/bake_vignette.h"
#include "assets/kaleido_planes.h"
#include "assets/mandala_cube.h"
#include "assets/show_art.h"
#include "scenes/show_assets.h"
#include "synth/soundtrack.h"

// Each baker declares its step function here and adds one line below.
namespace {
bool bake_music(const std::string& dataDir)
{
    std::string error;
    if (bake_soundtrack(dataDir, error))
        return true;
    std::cerr << "## ERROR: " << error << std::endl;
    return false;
}
}  // namespace

const BakeStep BAKE_STEPS[] = {
    {"textures/loadscreen.jpg", bake_loadscreen},
    {"textures/checker.jpg", bake_checker},
    {"textures/fontlist.png", bake_font},
    {std::string(show_assets::TEXTURES) + show_assets::VIGNETTE, bake_vignette},
    {"models/mandala_cube: wall, relief layers, grey textures", bake_mandala_cube},
    {"models/kaleido2d: the seven kaleidoscope planes", bake_kaleido_planes},
    {"music: GLOAM2.mp3 and GLOAM2.mid from the score", bake_music},
    {std::string(show_assets::MODELS) + show_assets::SPIKE_BALL, bake_spikeball},
    {std::string(show_assets::TEXTURES) + show_assets::SPIKE_BALL_GLOW, bake_spikeball_glow},
    {std::string(show_assets::TEXTURES) + show_assets::DODGE_CIRCLE, bake_dodgecircle},
    {std::string(show_assets::MODELS) + show_assets::STAR, bake_blacknwhite_star},
    {std::string(show_assets::MODELS) + show_assets::STAR_SPIKES, bake_blacknwhite_spikes},
    {std::string(show_assets::MODELS) + show_assets::SPACE_SPHERE, bake_spacesphere},
    {std::string(show_assets::TEXTURES) + show_assets::SKY_PANORAMA, bake_sky_panorama},
    {"textures/title/morvane01.jpg .. morvane15.jpg", bake_title_frames},
    {"textures/credits/credits.jpg", bake_credits_page},
    {"textures/credits/kesmo01.jpg .. 15, drulan01.jpg .. 15", bake_portraits},
    {"textures/black_smurf_head_pot.png", bake_head},
};
const int BAKE_STEP_COUNT = sizeof(BAKE_STEPS) / sizeof(BAKE_STEPS[0]);
