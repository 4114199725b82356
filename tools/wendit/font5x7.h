#pragma once
// A 5 x 7 pixel font for the baked font image: each glyph is seven rows of
// five characters, '#' for ink, top row first. Capitals, lower case,
// digits and the punctuation the slider panel shows.
// Null when c has no glyph.
const char* const* glyph5x7(char c);
