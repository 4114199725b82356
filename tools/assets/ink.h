#pragma once
// An ink canvas for the baked art: coverage 0..1 per pixel (1 is full ink),
// row 0 at the top. The pen's shapes (strokes, fills, dots, letters) are
// Cairo paths, rasterised by Cairo into a mask that inks the canvas where
// it covers more than the canvas holds; the pen's pressure and wobble, the
// boil, the softening and the spread that make it ink are worked out here.
// Everything is deterministic: the same calls give the same pixels on
// every bake.
#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "assets/bake_files.h"

struct Ink {
    Ink() = default;
    Ink(int w, int h) : w(w), h(h), v(size_t(w) * size_t(h), 0.f) {}
    int w = 0, h = 0;
    std::vector<float> v;

    float at(int x, int y) const { return x < 0 || y < 0 || x >= w || y >= h ? 0.f : v[size_t(y) * w + x]; }
    float& ref(int x, int y) { return v[size_t(y) * w + x]; }
    // Bilinear, 0 outside.
    float sample(float x, float y) const;
    // Adds coverage, keeping the stronger of the two.
    void mark(int x, int y, float c)
    {
        if (x >= 0 && y >= 0 && x < w && y < h && c > ref(x, y))
            ref(x, y) = c > 1.f ? 1.f : c;
    }
};

struct Pt {
    float x, y;
};

// Smooth value noise in [0, 1): the same for the same seed and position.
float value_noise(unsigned seed, float x, float y);
// Three octaves of value noise, in [0, 1).
float fbm(unsigned seed, float x, float y);
// A deterministic number in [0, 1) for (seed, index).
float hash01(unsigned seed, unsigned index);

// Draws what `paint` draws (opaque, on a context whose user space is the
// ink's pixels) into a mask over the box (x, y, w, h) of the ink, and
// inks the canvas with the mask's coverage times `strength`, keeping the
// stronger of the two at each pixel.
void draw_on_ink(Ink& ink, float x, float y, float w, float h, float strength,
                 const std::function<void(cairo_t*)>& paint);

// The ink's coverage as the alpha of an A8 canvas of the same size, for
// Cairo to paint a colour through.
class CairoCanvas;
void ink_to_mask(const Ink& ink, CairoCanvas& mask);

// A round-capped line from a to b, width in pixels.
void segment(Ink& ink, Pt a, Pt b, float width, float strength = 1.f);
// A curve through the points (Catmull-Rom), its width tapering from w0 at
// the start through wmid to w1 at the end, as a pen stroke does.
void stroke(Ink& ink, const std::vector<Pt>& points, float w0, float wmid, float w1, float strength = 1.f);
// A filled polygon (even-odd), anti-aliased.
void fill(Ink& ink, const std::vector<Pt>& polygon, float strength = 1.f);
// An ellipse outline as points (centre, radii, start angle, sweep, count).
std::vector<Pt> arc(Pt c, float rx, float ry, float a0, float sweep, int n);

// src resampled to w x h: destination pixel (x, y) reads src at
// (x * src.w / w, y * src.h / h) displaced by `boil` pixels of smooth noise
// (seeded) and moved by (dx, dy) source pixels.
Ink resample(const Ink& src, int w, int h, float boil, unsigned seed, float dx = 0.f, float dy = 0.f);
// A small box blur, radius r pixels.
void soften(Ink& ink, int r);
// Ink spreading on paper: the coverage re-thresholded around `level`
// (lower spreads, higher thins), edges made rough by noise of `rough`.
void spread(Ink& ink, float level, float rough, unsigned seed);

// Writes ink as black on white (24-bit JPEG), or as light: the colour
// (r, g, b) scaled by `light`, with `shape` as alpha (32-bit PNG). Creates
// the directory; false on failure, with an error line naming the file.
bool save_ink_jpeg(const Ink& ink, const std::string& path);
bool save_light_png(const Ink& shape, const Ink& light, const std::string& path, int r, int g, int b);
