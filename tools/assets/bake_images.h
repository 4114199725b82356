#pragma once
// The images the window work needs, made procedurally: the same bytes on
// every run. They go to DATA/textures/.
#include <string>

// "loadscreen.jpg": the picture behind the loading screen.
bool bake_loadscreen(const std::string& dataDir);
// "checker.jpg": a grey checkerboard, tiled behind scenes.
bool bake_checker(const std::string& dataDir);
// "fontlist.png": the slider panel's font, white glyphs on transparent
// cells in the panel's cell layout.
bool bake_font(const std::string& dataDir);
