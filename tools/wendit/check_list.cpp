// What the show loads, by who loads it: the list `wendit check` walks.
// A scene that loads a file adds a row here (a mesh, an image, a morph
// pair); paths are relative to the data directory, shader sources are in
// the source tree beside it.
#include "check_list.h"

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
        // Scenes' meshes and textures, e.g.
        //   {"spike ball", eAssetKind::mesh, "models/spike.bzobj"},
        //   {"head flash", eAssetKind::morph_pair, "models/a.bzobj", "models/b.bzobj"},
    };
    for (const char* s : SHADERS)
        for (const char* stage : {"_vert.cg", "_frag.cg"})
            list.push_back({"shader manager", eAssetKind::text, std::string("../src/shaders/") + s + stage});
    for (const char* s : COMP_SHADERS)
        for (const char* stage : {"_vert.cg", "_frag.cg"})
            list.push_back({"shader manager", eAssetKind::text, std::string("../src/shaders/comp/") + s + stage});
    return list;
}
