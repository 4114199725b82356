#pragma once
// The files the engine opens by itself, unless a program names others: the
// marker script and the music, opened from bin/ ("../data/..."), and the
// two images every show has, found by name on the texture search path. The
// production's list of its baked files (scenes/show_assets.h) takes these
// names from here, so that each is spelled once.
namespace engine_files {
inline constexpr char MARKER_SCRIPT[] = "../data/script/markers.txt";
inline constexpr char MUSIC[] = "../data/music/GLOAM2.mp3";
inline constexpr char SCENE_BACKDROP[] = "checker.jpg";  // tiled behind a scene's picture
inline constexpr char PANEL_FONT[] = "fontlist.png";     // the slider panel's bitmap font
}  // namespace engine_files
