#pragma once
// The show's icon for the desktop menu: the title's letter in paper white
// over a dusk-violet tile, inside a ring of twelve amber lights, drawn
// with the same pen and typeface as the rest of the show.
#include <string>

// Draws the icon, size x size pixels (16..1024), into a 32-bit PNG at
// path. False, after an error line naming the file, when it fails.
bool draw_icon(const std::string& path, int size);
