#pragma once
// The show's 2-D art, baked into DATA/textures/: the title's fifteen ink
// frames, the credits page and its two portrait series, and the head that
// flashes near the end. Every image is sampled with 0..1 coordinates, so
// every side is a power of two; each is designed at the size it is shown
// on a 1280 x 720 screen and then resampled, so letters and faces keep
// their proportions on screen.
#include <string>

#include "assets/ink.h"

bool bake_title_frames(const std::string& dataDir);
bool bake_credits_page(const std::string& dataDir);
bool bake_portraits(const std::string& dataDir);
bool bake_head(const std::string& dataDir);
// The head image at its texture size: its silhouette (alpha) and the light
// inside it (tone, 0..1).
void draw_head_image(Ink& shape, Ink& light);

// The ink treatment of one frame of a series: boil, offsets and spread
// that differ from frame to frame (frame 1..15) of the same drawing.
struct InkFrame {
    float boil;      // pixels of smooth displacement
    float dx, dy;    // offset in pixels
    float level;     // spread threshold: lower is heavier ink
    unsigned seed;
};
InkFrame ink_frame(unsigned series, int frame);
