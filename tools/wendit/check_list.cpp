// What the show loads, by who loads it: the list `wendit check` walks.
// A scene that loads a file adds a row here (a mesh, an image, a morph
// pair); paths are relative to the data directory, shader sources are in
// the source tree beside it.
#include "check_list.h"

#include <cstdio>
#include <string>

#include "scenes/show_assets.h"

namespace {
const char* const SHADERS[] = {
    "cg_RGBAtex", "cg_blurtex", "cg_blurtex_noalpha", "cg_horz_resample_quater", "cg_morphDtex", "cg_orviktex",
    "cg_post_col_dodge", "cg_post_col_dodge_masked", "cg_post_color_offsets", "cg_post_hsb", "cg_post_invert",
    "cg_post_levels", "cg_post_radialblur", "cg_post_scroll", "cg_post_sinenoise", "cg_post_spilladd",
    "cg_resample_half", "cg_selfillum",
};
const char* const COMP_SHADERS[] = {"cg_comp_add", "cg_comp_dodge", "cg_comp_modulate", "cg_comp_over",
                                    "cg_comp_screen"};
}  // namespace

std::vector<cAssetEntry> show_asset_list()
{
    std::vector<cAssetEntry> list = {
        // The marker script first: the music is measured against its quit.
        {"show", eAssetKind::marker_script, "script/markers.txt"},
        {"show", eAssetKind::music, "music/GLOAM2.mp3"},
        {"show", eAssetKind::midi, "music/GLOAM2.mid"},
        {"loading screen", eAssetKind::image, "textures/loadscreen.jpg"},
        {"slider panel", eAssetKind::image, "textures/fontlist.png"},
        {"scene base", eAssetKind::image, "textures/checker.jpg"},
        {"mandala cube", eAssetKind::mesh, "models/mandala_cube/layer01_cubeface.bzobj"},
        {"mandala cube", eAssetKind::image, std::string(show_assets::TEXTURES) + show_assets::VIGNETTE},
        {"spike ball", eAssetKind::mesh, std::string(show_assets::MODELS) + show_assets::SPIKE_BALL},
        {"spike ball", eAssetKind::image, std::string(show_assets::TEXTURES) + show_assets::SPIKE_BALL_GLOW},
        {"spike ball", eAssetKind::image, std::string(show_assets::TEXTURES) + show_assets::DODGE_CIRCLE},
        {"black-and-white star", eAssetKind::mesh, std::string(show_assets::MODELS) + show_assets::STAR_SPIKES},
        {"black-and-white star", eAssetKind::mesh, std::string(show_assets::MODELS) + show_assets::STAR},
        {"space sphere", eAssetKind::mesh, std::string(show_assets::MODELS) + show_assets::SPACE_SPHERE},
        {"space sphere", eAssetKind::image, std::string(show_assets::TEXTURES) + show_assets::SKY_PANORAMA},
        {"credits", eAssetKind::image, "textures/credits/credits.jpg"},
        {"head flash", eAssetKind::image, "textures/black_smurf_head_pot.png"},
    };
    // The cube's relief rings morph from each "in" shape to its "out" shape.
    for (int layer = 2; layer <= 9; ++layer) {
        const std::string stem = "models/mandala_cube/layer0" + std::to_string(layer);
        list.push_back({"mandala cube", eAssetKind::morph_pair, stem + "_in.bzobj", stem + "_out.bzobj"});
    }
    for (const char* map : {"beads", "grooves", "hatch", "panel", "scales"})
        list.push_back({"mandala cube", eAssetKind::image, std::string("models/mandala_cube/tex_gray/gray_") + map + ".png"});
    for (const char* plane : {"cylinder_mirror", "hz_mirror", "dual_mirror", "triple_mirror", "matrix_mirror",
                              "circular_repeat", "mandala_circle2"})
        list.push_back({"mandala cube", eAssetKind::mesh, std::string("models/kaleido2d/plane_") + plane + ".bzobj"});
    // The title's and the portraits' fifteen frames each.
    for (const char* stem : {"title/morvane", "credits/kesmo", "credits/drulan"})
        for (int frame = 1; frame <= 15; ++frame) {
            char name[64];
            std::snprintf(name, sizeof name, "textures/%s%02d.jpg", stem, frame);
            list.push_back({std::string(stem).find("title") == 0 ? "title" : "credits", eAssetKind::image, name});
        }
    for (const char* s : SHADERS)
        for (const char* stage : {"_vert.cg", "_frag.cg"})
            list.push_back({"shader manager", eAssetKind::text, std::string("../src/shaders/") + s + stage});
    for (const char* s : COMP_SHADERS)
        for (const char* stage : {"_vert.cg", "_frag.cg"})
            list.push_back({"shader manager", eAssetKind::text, std::string("../src/shaders/comp/") + s + stage});
    return list;
}
