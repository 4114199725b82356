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

namespace sa = show_assets;

std::string file_name(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}
std::string frames(const char* series)
{
    return sa::ink_frame(series, 1) + " .. " + sa::ink_frame(series, sa::INK_FRAMES);
}
}  // namespace

const BakeStep BAKE_STEPS[] = {
    {sa::path(sa::TEXTURES, sa::LOADING_SCREEN), bake_loadscreen},
    {sa::path(sa::TEXTURES, sa::SCENE_BACKDROP), bake_checker},
    {sa::path(sa::TEXTURES, sa::PANEL_FONT), bake_font},
    {sa::path(sa::TEXTURES, sa::VIGNETTE), bake_vignette},
    {std::string(sa::MANDALA_DIR) + ": wall, relief layers, grey textures", bake_mandala_cube},
    {std::string(sa::KALEIDO_DIR) + ": the seven kaleidoscope planes", bake_kaleido_planes},
    {"music: " + file_name(sa::MUSIC) + " and " + file_name(sa::MIDI) + " from the score", bake_music},
    {sa::path(sa::MODELS, sa::SPIKE_BALL), bake_spikeball},
    {sa::path(sa::TEXTURES, sa::SPIKE_BALL_GLOW), bake_spikeball_glow},
    {sa::path(sa::TEXTURES, sa::DODGE_CIRCLE), bake_dodgecircle},
    {sa::path(sa::MODELS, sa::STAR), bake_blacknwhite_star},
    {sa::path(sa::MODELS, sa::STAR_SPIKES), bake_blacknwhite_spikes},
    {sa::path(sa::MODELS, sa::SPACE_SPHERE), bake_spacesphere},
    {sa::path(sa::TEXTURES, sa::SKY_PANORAMA), bake_sky_panorama},
    {sa::path(sa::TITLE_DIR, frames(sa::TITLE_SERIES)), bake_title_frames},
    {sa::path(sa::CREDITS_DIR, sa::CREDITS_PAGE), bake_credits_page},
    {sa::path(sa::CREDITS_DIR, sa::ink_frame(sa::FIRST_PORTRAITS, 1) + " .. " + std::to_string(sa::INK_FRAMES) + ", " +
                                   sa::ink_frame(sa::SECOND_PORTRAITS, 1) + " .. " + std::to_string(sa::INK_FRAMES)),
     bake_portraits},
    {sa::path(sa::TEXTURES, sa::HEAD), bake_head},
};
const int BAKE_STEP_COUNT = sizeof(BAKE_STEPS) / sizeof(BAKE_STEPS[0]);
