#include "assets/ink.h"

#include "assets/cairo_canvas.h"

#include <FreeImage.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <iostream>

float Ink::sample(float x, float y) const
{
    const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    const float fx = x - float(x0), fy = y - float(y0);
    const float a = at(x0, y0) * (1 - fx) + at(x0 + 1, y0) * fx;
    const float b = at(x0, y0 + 1) * (1 - fx) + at(x0 + 1, y0 + 1) * fx;
    return a * (1 - fy) + b * fy;
}

float hash01(unsigned seed, unsigned index)
{
    unsigned h = seed * 0x9E3779B1u ^ (index + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return float(h >> 8) / 16777216.f;
}

namespace {
float lattice(unsigned seed, int x, int y)
{
    return hash01(seed, unsigned(x) * 73856093u ^ unsigned(y) * 19349663u);
}
float smooth(float t)
{
    return t * t * (3.f - 2.f * t);
}
}  // namespace

float value_noise(unsigned seed, float x, float y)
{
    const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    const float fx = smooth(x - float(x0)), fy = smooth(y - float(y0));
    const float a = lattice(seed, x0, y0) * (1 - fx) + lattice(seed, x0 + 1, y0) * fx;
    const float b = lattice(seed, x0, y0 + 1) * (1 - fx) + lattice(seed, x0 + 1, y0 + 1) * fx;
    return a * (1 - fy) + b * fy;
}

float fbm(unsigned seed, float x, float y)
{
    return 0.57f * value_noise(seed, x, y) + 0.29f * value_noise(seed + 1, 2.f * x, 2.f * y) +
           0.14f * value_noise(seed + 2, 4.f * x, 4.f * y);
}

void draw_on_ink(Ink& ink, float x, float y, float w, float h, float strength,
                 const std::function<void(cairo_t*)>& paint)
{
    const int x0 = std::max(0, int(std::floor(x))), y0 = std::max(0, int(std::floor(y)));
    const int x1 = std::min(ink.w, int(std::ceil(x + w))), y1 = std::min(ink.h, int(std::ceil(y + h)));
    if (x1 <= x0 || y1 <= y0)
        return;
    CairoCanvas mask(CAIRO_FORMAT_A8, x1 - x0, y1 - y0);
    if (!mask.ok())
        return;
    cairo_t* cr = mask.cr();
    cairo_translate(cr, -double(x0), -double(y0));
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    paint(cr);
    const unsigned char* cover = mask.data();
    for (int my = 0; my < y1 - y0; ++my) {
        const unsigned char* row = cover + size_t(my) * size_t(mask.stride());
        for (int mx = 0; mx < x1 - x0; ++mx)
            if (row[mx])
                ink.mark(x0 + mx, y0 + my, float(row[mx]) / 255.f * strength);
    }
}

void ink_to_mask(const Ink& ink, CairoCanvas& mask)
{
    if (!mask.ok() || mask.width() != ink.w || mask.height() != ink.h)
        return;
    unsigned char* alpha = mask.pixels_for_writing();
    for (int y = 0; y < ink.h; ++y)
        for (int x = 0; x < ink.w; ++x)
            alpha[size_t(y) * size_t(mask.stride()) + size_t(x)] =
                (unsigned char)(std::min(std::max(ink.at(x, y) * 255.f + 0.5f, 0.f), 255.f));
    mask.pixels_written();
}

namespace {
// A capsule around the line from a to b, radius r, as one closed subpath;
// every capsule runs the same way round, so a path of many is their union
// under the non-zero rule.
void add_capsule(cairo_t* cr, Pt a, Pt b, float r)
{
    const double angle = std::atan2(double(b.y - a.y), double(b.x - a.x));
    const double half = 1.5707963267948966;
    cairo_new_sub_path(cr);
    cairo_arc(cr, b.x, b.y, r, angle - half, angle + half);
    cairo_arc(cr, a.x, a.y, r, angle + half, angle + 3.0 * half);
    cairo_close_path(cr);
}

// The box around points, grown by `margin` on every side.
void bounds(const std::vector<Pt>& p, float margin, float& x, float& y, float& w, float& h)
{
    float minx = p[0].x, maxx = minx, miny = p[0].y, maxy = miny;
    for (const Pt& q : p) {
        minx = std::min(minx, q.x), maxx = std::max(maxx, q.x);
        miny = std::min(miny, q.y), maxy = std::max(maxy, q.y);
    }
    x = minx - margin, y = miny - margin, w = maxx - minx + 2.f * margin, h = maxy - miny + 2.f * margin;
}
}  // namespace

void segment(Ink& ink, Pt a, Pt b, float width, float strength)
{
    const float r = width / 2.f;
    float x, y, w, h;
    bounds({a, b}, r + 1.f, x, y, w, h);
    draw_on_ink(ink, x, y, w, h, strength, [&](cairo_t* cr) {
        add_capsule(cr, a, b, r);
        cairo_fill(cr);
    });
}

void stroke(Ink& ink, const std::vector<Pt>& p, float w0, float wmid, float w1, float strength)
{
    if (p.size() < 2)
        return;
    // The pen's path: a Catmull-Rom curve through the points, a point every
    // two pixels or so.
    std::vector<Pt> path;
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        const Pt p0 = p[i == 0 ? 0 : i - 1], p1 = p[i], p2 = p[i + 1], p3 = p[std::min(i + 2, p.size() - 1)];
        const float len = std::hypot(p2.x - p1.x, p2.y - p1.y);
        const int n = std::max(2, int(len / 2.f));
        for (int k = 0; k < n; ++k) {
            const float t = float(k) / float(n), t2 = t * t, t3 = t2 * t;
            auto cr = [&](float a, float b, float c, float d) {
                return 0.5f * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (-a + 3 * b - 3 * c + d) * t3);
            };
            path.push_back({cr(p0.x, p1.x, p2.x, p3.x), cr(p0.y, p1.y, p2.y, p3.y)});
        }
    }
    path.push_back(p.back());
    // The pen's pressure: each step as wide as the point of the stroke it
    // lies at, the union of the steps drawn at once.
    const float last = float(path.size() - 1);
    float x, y, w, h;
    bounds(path, std::max({w0, wmid, w1}) / 2.f + 1.f, x, y, w, h);
    draw_on_ink(ink, x, y, w, h, strength, [&](cairo_t* cr) {
        for (size_t i = 0; i + 1 < path.size(); ++i) {
            const float u = float(i) / last;
            const float width =
                u < 0.5f ? w0 + (wmid - w0) * smooth(u * 2.f) : wmid + (w1 - wmid) * smooth(u * 2.f - 1.f);
            add_capsule(cr, path[i], path[i + 1], width / 2.f);
        }
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_fill(cr);
    });
}

void fill(Ink& ink, const std::vector<Pt>& poly, float strength)
{
    if (poly.size() < 3)
        return;
    float x, y, w, h;
    bounds(poly, 1.f, x, y, w, h);
    draw_on_ink(ink, x, y, w, h, strength, [&](cairo_t* cr) {
        for (const Pt& q : poly)
            cairo_line_to(cr, q.x, q.y);
        cairo_close_path(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_fill(cr);
    });
}

std::vector<Pt> arc(Pt c, float rx, float ry, float a0, float sweep, int n)
{
    std::vector<Pt> p;
    for (int i = 0; i <= n; ++i) {
        const float a = a0 + sweep * float(i) / float(n);
        p.push_back({c.x + rx * std::cos(a), c.y + ry * std::sin(a)});
    }
    return p;
}

Ink resample(const Ink& src, int w, int h, float boil, unsigned seed, float dx, float dy)
{
    Ink out(w, h);
    const float sx = float(src.w) / float(w), sy = float(src.h) / float(h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float u = (float(x) + 0.5f) * sx - 0.5f + dx, v = (float(y) + 0.5f) * sy - 0.5f + dy;
            if (boil > 0) {
                u += boil * (2.f * fbm(seed, u / 23.f, v / 23.f) - 1.f);
                v += boil * (2.f * fbm(seed + 17, u / 23.f, v / 23.f) - 1.f);
            }
            // Box-filter when shrinking, so thin lines keep their weight.
            float acc = 0;
            for (int k = 0; k < 4; ++k)
                acc += src.sample(u + (float(k & 1) - 0.5f) * 0.5f * sx, v + (float(k >> 1) - 0.5f) * 0.5f * sy);
            out.ref(x, y) = acc / 4.f;
        }
    return out;
}

void soften(Ink& ink, int r)
{
    if (r <= 0)
        return;
    Ink tmp(ink.w, ink.h);
    const float n = float(2 * r + 1);
    for (int y = 0; y < ink.h; ++y)
        for (int x = 0; x < ink.w; ++x) {
            float s = 0;
            for (int k = -r; k <= r; ++k)
                s += ink.at(x + k, y);
            tmp.ref(x, y) = s / n;
        }
    for (int y = 0; y < ink.h; ++y)
        for (int x = 0; x < ink.w; ++x) {
            float s = 0;
            for (int k = -r; k <= r; ++k)
                s += tmp.at(x, y + k);
            ink.ref(x, y) = s / n;
        }
}

void spread(Ink& ink, float level, float rough, unsigned seed)
{
    const float soft = 0.12f;
    for (int y = 0; y < ink.h; ++y)
        for (int x = 0; x < ink.w; ++x) {
            float c = ink.ref(x, y);
            if (c <= 0.f)
                continue;
            const float th = level + rough * (fbm(seed, float(x) / 5.f, float(y) / 5.f) - 0.5f);
            const float t = std::min(std::max((c - (th - soft)) / (2.f * soft), 0.f), 1.f);
            ink.ref(x, y) = smooth(t);
        }
}

namespace {
BYTE byte_of(float v)
{
    return BYTE(std::min(std::max(v * 255.f + 0.5f, 0.f), 255.f));
}

// An image of the ink's size, its first row at the top, each pixel set by
// `pixel(x, y, bytes)`, written to path.
template <typename Pixel>
bool save_ink_image(const Ink& ink, unsigned bpp, FREE_IMAGE_FORMAT format, const std::string& path, int flags,
                    Pixel pixel)
{
    FIBITMAP* image = FreeImage_Allocate(ink.w, ink.h, int(bpp));
    if (!image)
        return false;
    for (int y = 0; y < ink.h; ++y) {
        BYTE* line = FreeImage_GetScanLine(image, ink.h - 1 - y);
        for (int x = 0; x < ink.w; ++x)
            pixel(x, y, line + x * (bpp / 8));
    }
    return save_image(image, format, path, flags);
}
}  // namespace

bool save_ink_jpeg(const Ink& ink, const std::string& path)
{
    return save_ink_image(ink, 24, FIF_JPEG, path, JPEG_QUALITYSUPERB, [&](int x, int y, BYTE* p) {
        p[FI_RGBA_RED] = p[FI_RGBA_GREEN] = p[FI_RGBA_BLUE] = byte_of(1.f - ink.at(x, y));
    });
}

bool save_light_png(const Ink& ink, const Ink& light, const std::string& path, int r, int g, int b)
{
    return save_ink_image(ink, 32, FIF_PNG, path, PNG_DEFAULT, [&](int x, int y, BYTE* p) {
        const float l = light.at(x, y);
        p[FI_RGBA_RED] = byte_of(float(r) / 255.f * l);
        p[FI_RGBA_GREEN] = byte_of(float(g) / 255.f * l);
        p[FI_RGBA_BLUE] = byte_of(float(b) / 255.f * l);
        p[FI_RGBA_ALPHA] = byte_of(ink.at(x, y));
    });
}
