#pragma once
// What the title and the credits share: series of ink images loaded from
// one directory, and the image quad they print with. The page is white and
// every image is multiplied onto it, so white paper leaves it untouched.
#include <string>
#include <vector>

#include "render/pass_state.h"
#include "scenes/show_assets.h"
#include "texture/cTexture.h"

// Adds dir to the search path and makes sure the image shaders exist.
void prepare_ink_images(const std::string& dir);
// Frames 1 to count of the series (show_assets::ink_frame), clamped at the edges.
std::vector<cTexture> load_ink_series(const std::string& stem, int count = show_assets::INK_FRAMES);
cTexture load_ink_image(const std::string& file);

// The image over 0.7 x 0.35 of the overlay square, its lower left corner at
// (x, y), on texture unit 0.
void draw_ink_image(const cTexture& image, float x, float y);

// While it lives, images multiply onto the bound page: the quads' set-up,
// white, blending (zero, source colour) for colour and (one, one) for
// alpha, no shader; each image prints its ink in the current colour on
// untouched paper.
class cInkPrint {
public:
    cInkPrint();
    ~cInkPrint();
    cInkPrint(const cInkPrint&) = delete;
    cInkPrint& operator=(const cInkPrint&) = delete;

private:
    cPassState m_pass;
};

// A random jump: 0 unless r exceeds 0.95, then rising to 1 at r = 1.
float ink_jump(float r);
