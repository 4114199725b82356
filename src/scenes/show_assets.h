#pragma once
// Every baked file the show loads, by name, spelled once: the scenes load
// them under these names, `wendit bake` writes them under them and `wendit
// check` looks at them (its list, tools/wendit/check_list.cpp, is made of
// these). Directories are relative to the data directory; meshes lie under
// models/, images under textures/, and the scenes find them on the search
// path by name. The files the engine opens by itself are named in
// util/engine_files.h and stand here under their names in the tree.
#include <cstdio>
#include <string>

#include "util/engine_files.h"

namespace show_assets {
// The data directory as the show sees it from bin/.
inline constexpr char FROM_BIN[] = "../data/";

// A path the show opens from bin/ ("../data/x"), as the data directory
// holds it ("x"); a path that does not start so is refused when compiled.
constexpr const char* in_data_dir(const char* fromBin)
{
    const char* prefix = FROM_BIN;
    while (*prefix && *fromBin == *prefix)
        ++prefix, ++fromBin;
    return *prefix ? throw "not a path under ../data/" : fromBin;
}

// `name` in directory `dir` of the data directory.
inline std::string path(const std::string& dir, const std::string& name)
{
    return dir + "/" + name;
}

inline constexpr char MODELS[] = "models";
inline constexpr char TEXTURES[] = "textures";

// the show: its timeline and its music
inline constexpr const char* MARKER_SCRIPT = in_data_dir(engine_files::MARKER_SCRIPT);
inline constexpr const char* MUSIC = in_data_dir(engine_files::MUSIC);
inline constexpr char MIDI_FROM_BIN[] = "../data/music/GLOAM2.mid";
inline constexpr const char* MIDI = in_data_dir(MIDI_FROM_BIN);

// images every scene and the loading screen use (under textures/)
inline constexpr char LOADING_SCREEN[] = "loadscreen.jpg";
inline constexpr const char* SCENE_BACKDROP = engine_files::SCENE_BACKDROP;
inline constexpr const char* PANEL_FONT = engine_files::PANEL_FONT;

// the mandala cube: its wall and relief rings, their grey maps, the
// kaleidoscope planes
inline constexpr char MANDALA_DIR[] = "models/mandala_cube";
inline constexpr char MANDALA_GREYS_DIR[] = "models/mandala_cube/tex_gray";
inline constexpr char KALEIDO_DIR[] = "models/kaleido2d";
inline constexpr char CUBE_FACE[] = "layer01_cubeface.bzobj";
// Relief rings 2 to 9, each morphing from its "in" shape to its "out" one.
inline constexpr int FIRST_RELIEF = 2, LAST_RELIEF = 9;
inline std::string relief_layer(int ring, bool out)
{
    return "layer0" + std::to_string(ring) + (out ? "_out.bzobj" : "_in.bzobj");
}
inline constexpr char GREY_PANEL[] = "gray_panel.png";      // the wall: a stone slab with engraved squares
inline constexpr char GREY_GROOVES[] = "gray_grooves.png";  // fluting: grooves along t
inline constexpr char GREY_BEADS[] = "gray_beads.png";      // a pip in each cell of a 4x2 grid
inline constexpr char GREY_HATCH[] = "gray_hatch.png";      // diagonal cross-hatching
inline constexpr char GREY_SCALES[] = "gray_scales.png";    // overlapping scales
inline constexpr const char* GREY_MAPS[] = {GREY_BEADS, GREY_GROOVES, GREY_HATCH, GREY_PANEL, GREY_SCALES};
inline constexpr const char* KALEIDO_PLANES[7] = {
    "plane_cylinder_mirror.bzobj", "plane_hz_mirror.bzobj",       "plane_dual_mirror.bzobj",
    "plane_triple_mirror.bzobj",   "plane_matrix_mirror.bzobj",   "plane_circular_repeat.bzobj",
    "plane_mandala_circle2.bzobj",
};

// the middle of the show
// meshes
inline constexpr char SPIKE_BALL[] = "spikeball2.bzobj";
inline constexpr char STAR[] = "blacknwhite_star.bzobj";
inline constexpr char STAR_SPIKES[] = "blacknwhite_spikes.bzobj";
inline constexpr char SPACE_SPHERE[] = "spacesphere.bzobj";
// images
inline constexpr char SPIKE_BALL_GLOW[] = "spikeball_glow.png";
inline constexpr char DODGE_CIRCLE[] = "dodgecircle.jpg";
inline constexpr char SKY_PANORAMA[] = "sphere_horizon_dark.jpg";
inline constexpr char VIGNETTE[] = "fs_vign.jpg";

// the 2-D scenes: the title's ink frames, the credits page and its two
// portrait series, the head flash
inline constexpr char TITLE_DIR[] = "textures/title";
inline constexpr char CREDITS_DIR[] = "textures/credits";
inline constexpr char TITLE_SERIES[] = "morvane";
inline constexpr char FIRST_PORTRAITS[] = "kesmo";
inline constexpr char SECOND_PORTRAITS[] = "drulan";
inline constexpr int INK_FRAMES = 15;
// Frame k (1 to INK_FRAMES) of an ink series.
inline std::string ink_frame(const char* series, int k)
{
    char name[64];
    std::snprintf(name, sizeof name, "%s%02d.jpg", series, k);
    return name;
}
inline constexpr char CREDITS_PAGE[] = "credits.jpg";
inline constexpr char HEAD[] = "black_smurf_head_pot.png";
}  // namespace show_assets
