#pragma once
// The images the window work needs, made procedurally: the same bytes on
// every run. They go to DATA/textures/ under their names in
// scenes/show_assets.h.
#include <string>

// LOADING_SCREEN: the picture behind the loading screen.
bool bake_loadscreen(const std::string& dataDir);
// SCENE_BACKDROP: a grey checkerboard, tiled behind scenes.
bool bake_checker(const std::string& dataDir);
// PANEL_FONT: the slider panel's font, white glyphs on transparent
// cells in the panel's cell layout.
bool bake_font(const std::string& dataDir);
