#include "assets/icon.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "assets/ink.h"
#include "assets/typeface.h"

namespace {
const float PI = 3.14159265f;

struct Rgb {
    float r, g, b;
};
// From the show's palette: dusk shadows, amber light, paper white.
const Rgb DUSK_TOP = {0x1c / 255.f, 0x18 / 255.f, 0x30 / 255.f};
const Rgb DUSK_BOTTOM = {0x0b / 255.f, 0x0a / 255.f, 0x14 / 255.f};
const Rgb AMBER = {0xff / 255.f, 0xe8 / 255.f, 0xc0 / 255.f};
const Rgb PAPER = {0xf4 / 255.f, 0xf1 / 255.f, 0xea / 255.f};

Rgb mix(Rgb a, Rgb b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

BYTE byte_of(float v)
{
    return BYTE(std::min(std::max(v * 255.f + 0.5f, 0.f), 255.f));
}

// A square with rounded corners, the tile the menu shows.
std::vector<Pt> rounded_square(float s, float margin, float radius)
{
    const float lo = margin + radius, hi = s - margin - radius;
    std::vector<Pt> pts;
    const Pt centres[] = {{hi, lo}, {hi, hi}, {lo, hi}, {lo, lo}};
    for (int c = 0; c < 4; ++c) {
        const std::vector<Pt> a = arc(centres[c], radius, radius, -PI / 2.f + float(c) * PI / 2.f, PI / 2.f, 12);
        pts.insert(pts.end(), a.begin(), a.end());
    }
    return pts;
}
}  // namespace

bool draw_icon(const std::string& path, int size)
{
    if (size < 16 || size > 1024) {
        std::cerr << "## ERROR: icon size " << size << " for " << path << ": give 16 to 1024 pixels" << std::endl;
        return false;
    }
    const float s = float(size);
    Ink tile(size, size), ring(size, size), letter(size, size);
    fill(tile, rounded_square(s, s * 0.03f, s * 0.18f));

    // Twelve lights on a thin ring, as the mandala's rings fold.
    const Pt c = {s / 2.f, s / 2.f};
    stroke(ring, arc(c, s * 0.36f, s * 0.36f, 0.f, 2.f * PI, 96), s * 0.012f, s * 0.012f, s * 0.012f, 0.8f);
    for (int k = 0; k < 12; ++k) {
        const float a = float(k) * PI / 6.f;
        const Pt p = {c.x + s * 0.36f * std::cos(a), c.y + s * 0.36f * std::sin(a)};
        segment(ring, p, p, s * (k % 3 == 0 ? 0.07f : 0.04f));
    }

    Typeface face;
    if (!face.open(TITLE_FACE))
        return false;
    const int px = std::max(8, int(s * 0.5f));
    const float cap = face.cap_height(px);
    face.draw(letter, "M", (s - face.measure("M", px)) / 2.f, (s + cap) / 2.f, px);
    // The title's ink treatment, made gentle at small sizes.
    if (size >= 64) {
        soften(letter, 1);
        spread(letter, 0.45f, 0.25f, 1207);
    }

    FIBITMAP* image = FreeImage_Allocate(size, size, 32);
    if (!image)
        return false;
    for (int y = 0; y < size; ++y) {
        BYTE* line = FreeImage_GetScanLine(image, size - 1 - y);
        for (int x = 0; x < size; ++x) {
            Rgb col = mix(DUSK_TOP, DUSK_BOTTOM, float(y) / s);
            col = mix(col, AMBER, ring.at(x, y));
            col = mix(col, PAPER, letter.at(x, y));
            BYTE* p = line + x * 4;
            p[FI_RGBA_RED] = byte_of(col.r);
            p[FI_RGBA_GREEN] = byte_of(col.g);
            p[FI_RGBA_BLUE] = byte_of(col.b);
            p[FI_RGBA_ALPHA] = byte_of(tile.at(x, y));
        }
    }
    const size_t slash = path.rfind('/');
    bool ok = slash == std::string::npos || make_directories(path.substr(0, slash));
    if (ok && !FreeImage_Save(FIF_PNG, image, path.c_str(), PNG_DEFAULT)) {
        std::cerr << "## ERROR: cannot write " << path << std::endl;
        ok = false;
    }
    FreeImage_Unload(image);
    return ok;
}
