#pragma once
// The grey detail textures of the mandala cube (data/models/mandala_cube/
// tex_gray/): engraved patterns in mid to light greys that the head light
// and the passes colour. 256x256, 24-bit PNG: sampled as 2-D textures with
// 0..1 coordinates, s along one period of a ring, t across it.
#include <string>

// Writes all of them (show_assets::GREY_MAPS) into `dir`; false after a
// message.
bool bake_grey_textures(const std::string& dir);
