#pragma once
// The grey detail textures of the mandala cube (data/models/mandala_cube/
// tex_gray/): engraved patterns in mid to light greys that the head light
// and the passes colour. 256x256, 24-bit PNG: sampled as 2-D textures with
// 0..1 coordinates, s along one period of a ring, t across it.
#include <string>

extern const char* const GREY_PANEL;    // the wall: a stone slab with engraved squares
extern const char* const GREY_GROOVES;  // fluting: grooves along t
extern const char* const GREY_BEADS;    // a pip in each cell of a 4x2 grid
extern const char* const GREY_HATCH;    // diagonal cross-hatching
extern const char* const GREY_SCALES;   // overlapping scales

// Writes all of them into `dir`; false after a message.
bool bake_grey_textures(const std::string& dir);
