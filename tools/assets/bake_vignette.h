#pragma once
// The vignette (show_assets::VIGNETTE) multiplied over finished pictures (mandala
// cube, space sphere): white in the middle, darkening smoothly into the
// corners. 512x512, so it samples as a 2-D texture with 0..1 coordinates.
#include <string>

bool bake_vignette(const std::string& dataDir);
