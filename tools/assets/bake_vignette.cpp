#include "assets/bake_vignette.h"

#include <FreeImage.h>

#include <cmath>

#include "assets/bake_files.h"
#include "scenes/show_assets.h"

namespace {
const int SIDE = 512;

// Brightness at normalised distance d from the middle (1 at the middle of
// an edge, sqrt 2 in a corner): flat white over the middle, then a smooth
// fall that reaches about a fifth in the corners, so the picture's edges
// sink without going black.
double shade(double d)
{
    const double inner = 0.45, outer = 1.45;
    double u = (d - inner) / (outer - inner);
    u = u < 0 ? 0 : u > 1 ? 1 : u;
    const double s = u * u * (3 - 2 * u);
    return 1.0 - 0.82 * s;
}
}  // namespace

bool bake_vignette(const std::string& dataDir)
{
    FIBITMAP* image = grey_image(SIDE, [](int x, int y) {
        const double dx = (x + 0.5) / SIDE * 2 - 1, dy = (y + 0.5) / SIDE * 2 - 1;
        return BYTE(int(255 * shade(std::sqrt(dx * dx + dy * dy)) + 0.5));
    });
    if (!image)
        return false;
    return save_texture(image, FIF_JPEG, dataDir, show_assets::VIGNETTE, JPEG_QUALITYSUPERB);
}
