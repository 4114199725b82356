// What the show loads, by who loads it: the list `wendit check` walks.
// A scene that loads a file adds a row here (a mesh, an image, a morph
// pair); paths are relative to the data directory, shader sources are in
// the source tree beside it.
#include "check_list.h"

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
    namespace sa = show_assets;
    const auto texture = [](const char* name) { return sa::path(sa::TEXTURES, name); };
    const auto model = [](const char* name) { return sa::path(sa::MODELS, name); };
    std::vector<cAssetEntry> list = {
        // The marker script first: the music is measured against its quit.
        {"show", eAssetKind::marker_script, sa::MARKER_SCRIPT},
        {"show", eAssetKind::music, sa::MUSIC},
        {"show", eAssetKind::midi, sa::MIDI},
        {"loading screen", eAssetKind::image, texture(sa::LOADING_SCREEN)},
        {"slider panel", eAssetKind::image, texture(sa::PANEL_FONT)},
        {"scene base", eAssetKind::image, texture(sa::SCENE_BACKDROP)},
        {"mandala cube", eAssetKind::mesh, sa::path(sa::MANDALA_DIR, sa::CUBE_FACE)},
        {"mandala cube", eAssetKind::image, texture(sa::VIGNETTE)},
        {"spike ball", eAssetKind::mesh, model(sa::SPIKE_BALL)},
        {"spike ball", eAssetKind::image, texture(sa::SPIKE_BALL_GLOW)},
        {"spike ball", eAssetKind::image, texture(sa::DODGE_CIRCLE)},
        {"black-and-white star", eAssetKind::mesh, model(sa::STAR_SPIKES)},
        {"black-and-white star", eAssetKind::mesh, model(sa::STAR)},
        {"space sphere", eAssetKind::mesh, model(sa::SPACE_SPHERE)},
        {"space sphere", eAssetKind::image, texture(sa::SKY_PANORAMA)},
        {"credits", eAssetKind::image, sa::path(sa::CREDITS_DIR, sa::CREDITS_PAGE)},
        {"head flash", eAssetKind::image, texture(sa::HEAD)},
    };
    for (int ring = sa::FIRST_RELIEF; ring <= sa::LAST_RELIEF; ++ring)
        list.push_back({"mandala cube", eAssetKind::morph_pair, sa::path(sa::MANDALA_DIR, sa::relief_layer(ring, false)),
                        sa::path(sa::MANDALA_DIR, sa::relief_layer(ring, true))});
    for (const char* map : sa::GREY_MAPS)
        list.push_back({"mandala cube", eAssetKind::image, sa::path(sa::MANDALA_GREYS_DIR, map)});
    for (const char* plane : sa::KALEIDO_PLANES)
        list.push_back({"mandala cube", eAssetKind::mesh, sa::path(sa::KALEIDO_DIR, plane)});
    // The title's and the portraits' frames.
    for (const char* series : {sa::TITLE_SERIES, sa::FIRST_PORTRAITS, sa::SECOND_PORTRAITS}) {
        const bool title = series == sa::TITLE_SERIES;
        for (int frame = 1; frame <= sa::INK_FRAMES; ++frame)
            list.push_back({title ? "title" : "credits", eAssetKind::image,
                            sa::path(title ? sa::TITLE_DIR : sa::CREDITS_DIR, sa::ink_frame(series, frame))});
    }
    for (const char* s : SHADERS)
        for (const char* stage : {"_vert.cg", "_frag.cg"})
            list.push_back({"shader manager", eAssetKind::text, std::string("../src/shaders/") + s + stage});
    for (const char* s : COMP_SHADERS)
        for (const char* stage : {"_vert.cg", "_frag.cg"})
            list.push_back({"shader manager", eAssetKind::text, std::string("../src/shaders/comp/") + s + stage});
    return list;
}
