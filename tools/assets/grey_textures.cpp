#include "assets/grey_textures.h"

#include <FreeImage.h>

#include <cmath>
#include <functional>

#include "assets/bake_files.h"
#include "scenes/show_assets.h"

namespace {
const int SIDE = 256;
const double PI = 3.14159265358979323846;

// A deterministic grain in 0..1 from integer texel coordinates.
double grain(int x, int y)
{
    unsigned h = unsigned(x) * 374761393u + unsigned(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return double((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

// An engraved line: 1 on the line, falling to 0 over `width`.
double line(double distance, double width)
{
    const double d = std::fabs(distance) / width;
    return d >= 1 ? 0 : 1 - d * d;
}

bool write(const std::string& dir, const char* name, const std::function<double(double, double)>& shade)
{
    FIBITMAP* image = grey_image(SIDE, [&](int x, int y) {
        const double v = shade((x + 0.5) / SIDE, (y + 0.5) / SIDE) - 0.04 * grain(x, y);
        return BYTE(int(std::lround(255 * (v < 0 ? 0 : v > 1 ? 1 : v))));
    });
    if (!image)
        return false;
    return save_image(image, FIF_PNG, dir + "/" + name, PNG_Z_BEST_COMPRESSION);
}

double frac(double v)
{
    return v - std::floor(v);
}
}  // namespace

bool bake_grey_textures(const std::string& dir)
{
    bool ok = write(dir, show_assets::GREY_PANEL, [](double s, double t) {
        // Nested engraved squares around the middle, fine hatching between;
        // darker than the rings, so the relief stands out of the stone.
        const double d = std::max(std::fabs(s - 0.5), std::fabs(t - 0.5));
        const double rings = line(frac(d * 12) - 0.5, 0.12);
        const double hatch = line(frac((s + t) * 48) - 0.5, 0.18) * 0.3;
        return 0.72 - 0.34 * rings - 0.12 * hatch;
    });
    ok = ok && write(dir, show_assets::GREY_GROOVES, [](double s, double t) {
        // Three flutes per period, polished ridges between them.
        const double g = 0.5 - 0.5 * std::cos(2 * PI * s * 3);
        return 0.55 + 0.4 * g - 0.15 * line(t - 0.5, 0.05);
    });
    ok = ok && write(dir, show_assets::GREY_BEADS, [](double s, double t) {
        const double cx = frac(s * 4) - 0.5, cy = frac(t * 2) - 0.5;
        const double r = std::sqrt(cx * cx + cy * cy);
        const double pip = r < 0.32 ? std::sqrt(1 - (r / 0.32) * (r / 0.32)) : 0;
        return 0.5 + 0.45 * pip - 0.3 * line(r - 0.36, 0.05);
    });
    ok = ok && write(dir, show_assets::GREY_HATCH, [](double s, double t) {
        const double a = line(frac((s + t) * 8) - 0.5, 0.14), b = line(frac((s - t) * 8) - 0.5, 0.14);
        return 0.86 - 0.45 * std::max(a, b);
    });
    ok = ok && write(dir, show_assets::GREY_SCALES, [](double s, double t) {
        // Rows of overlapping round scales, each brighter at its lower edge.
        const double row = t * 3, r = std::floor(row);
        const double off = std::fmod(r, 2.0) * 0.5;
        const double cx = frac(s * 2 + off) - 0.5, cy = frac(row);
        const double d = std::sqrt(cx * cx + cy * cy * 0.8);
        return 0.45 + 0.45 * (d < 0.55 ? 1 - d / 0.55 : 0) - 0.3 * line(d - 0.55, 0.06);
    });
    return ok;
}
