#include "assets/icon.h"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "assets/bake_files.h"
#include "assets/cairo_canvas.h"
#include "assets/ink.h"
#include "assets/typeface.h"

namespace {
const double PI = 3.14159265358979;

// From the show's palette: dusk shadows, amber light, paper white.
const unsigned DUSK_TOP = 0x1c1830;
const unsigned DUSK_BOTTOM = 0x0b0a14;
const unsigned AMBER = 0xffe8c0;
const unsigned PAPER = 0xf4f1ea;

void add_stop(cairo_pattern_t* gradient, double at, unsigned rgb)
{
    cairo_pattern_add_color_stop_rgb(gradient, at, double(rgb >> 16) / 255.0, double((rgb >> 8) & 0xff) / 255.0,
                                     double(rgb & 0xff) / 255.0);
}

// A square with rounded corners, the tile the menu shows.
void rounded_square(cairo_t* cr, double s, double margin, double radius)
{
    const double lo = margin + radius, hi = s - margin - radius;
    cairo_new_sub_path(cr);
    cairo_arc(cr, hi, lo, radius, -PI / 2.0, 0.0);
    cairo_arc(cr, hi, hi, radius, 0.0, PI / 2.0);
    cairo_arc(cr, lo, hi, radius, PI / 2.0, PI);
    cairo_arc(cr, lo, lo, radius, PI, 1.5 * PI);
    cairo_close_path(cr);
}
}  // namespace

bool draw_icon(const std::string& path, int size)
{
    if (size < 16 || size > 1024) {
        std::cerr << "## ERROR: icon size " << size << " for " << path << ": give 16 to 1024 pixels" << std::endl;
        return false;
    }
    Typeface face;
    if (!face.open(TITLE_FACE))
        return false;
    const double s = double(size);
    CairoCanvas icon(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = icon.cr();

    // The tile: dusk, lighter at the top.
    rounded_square(cr, s, s * 0.03, s * 0.18);
    cairo_clip(cr);
    cairo_pattern_t* dusk = cairo_pattern_create_linear(0.0, 0.0, 0.0, s);
    add_stop(dusk, 0.0, DUSK_TOP);
    add_stop(dusk, 1.0, DUSK_BOTTOM);
    cairo_set_source(cr, dusk);
    cairo_paint(cr);
    cairo_pattern_destroy(dusk);

    // Twelve lights on a thin ring, as the mandala's rings fold.
    const double cx = s / 2.0, cy = s / 2.0, radius = s * 0.36;
    cairo_arc(cr, cx, cy, radius, 0.0, 2.0 * PI);
    cairo_set_line_width(cr, s * 0.012);
    set_source_rgb(cr, AMBER, 0.8);
    cairo_stroke(cr);
    set_source_rgb(cr, AMBER);
    for (int k = 0; k < 12; ++k) {
        const double a = double(k) * PI / 6.0;
        cairo_new_sub_path(cr);
        cairo_arc(cr, cx + radius * std::cos(a), cy + radius * std::sin(a), s * (k % 3 == 0 ? 0.035 : 0.02), 0.0,
                  2.0 * PI);
    }
    cairo_fill(cr);

    // The title's letter with the title's ink treatment, made gentle at
    // small sizes, laid on in paper white.
    Ink letter(size, size);
    const int px = std::max(8, int(s * 0.5));
    const float cap = face.cap_height(px);
    face.draw(letter, "M", (float(s) - face.measure("M", px)) / 2.f, (float(s) + cap) / 2.f, px);
    if (size >= 64) {
        soften(letter, 1);
        spread(letter, 0.45f, 0.25f, 1207);
    }
    CairoCanvas mask(CAIRO_FORMAT_A8, size, size);
    ink_to_mask(letter, mask);
    set_source_rgb(cr, PAPER);
    cairo_mask_surface(cr, mask.surface(), 0.0, 0.0);

    const size_t slash = path.rfind('/');
    std::string error;
    if (slash != std::string::npos && !make_directories(path.substr(0, slash)))
        return false;
    if (!icon.write_png(path, error)) {
        std::cerr << "## ERROR: " << error << std::endl;
        return false;
    }
    return true;
}
