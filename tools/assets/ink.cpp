#include "assets/ink.h"

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

void segment(Ink& ink, Pt a, Pt b, float width, float strength)
{
    const float r = width / 2.f;
    const int x0 = int(std::floor(std::min(a.x, b.x) - r - 1)), x1 = int(std::ceil(std::max(a.x, b.x) + r + 1));
    const int y0 = int(std::floor(std::min(a.y, b.y) - r - 1)), y1 = int(std::ceil(std::max(a.y, b.y) + r + 1));
    const float vx = b.x - a.x, vy = b.y - a.y, len2 = vx * vx + vy * vy;
    for (int y = std::max(y0, 0); y <= std::min(y1, ink.h - 1); ++y)
        for (int x = std::max(x0, 0); x <= std::min(x1, ink.w - 1); ++x) {
            const float px = float(x) + 0.5f - a.x, py = float(y) + 0.5f - a.y;
            const float t = len2 > 0 ? std::min(std::max((px * vx + py * vy) / len2, 0.f), 1.f) : 0.f;
            const float dx = px - t * vx, dy = py - t * vy;
            const float c = std::min(std::max(r - std::sqrt(dx * dx + dy * dy) + 0.5f, 0.f), 1.f);
            if (c > 0)
                ink.mark(x, y, c * strength);
        }
}

void stroke(Ink& ink, const std::vector<Pt>& p, float w0, float wmid, float w1, float strength)
{
    if (p.size() < 2)
        return;
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
    const float last = float(path.size() - 1);
    for (size_t i = 0; i + 1 < path.size(); ++i) {
        const float u = float(i) / last;
        const float w = u < 0.5f ? w0 + (wmid - w0) * smooth(u * 2.f) : wmid + (w1 - wmid) * smooth(u * 2.f - 1.f);
        segment(ink, path[i], path[i + 1], w, strength);
    }
}

void fill(Ink& ink, const std::vector<Pt>& poly, float strength)
{
    if (poly.size() < 3)
        return;
    float minx = poly[0].x, maxx = minx, miny = poly[0].y, maxy = miny;
    for (const Pt& q : poly) {
        minx = std::min(minx, q.x), maxx = std::max(maxx, q.x);
        miny = std::min(miny, q.y), maxy = std::max(maxy, q.y);
    }
    const int y0 = std::max(0, int(miny)), y1 = std::min(ink.h - 1, int(maxy) + 1);
    const int x0 = std::max(0, int(minx)), x1 = std::min(ink.w - 1, int(maxx) + 1);
    std::vector<float> xs;
    for (int y = y0; y <= y1; ++y) {
        std::vector<float> row(size_t(x1 - x0 + 1), 0.f);
        for (int sy = 0; sy < 4; ++sy) {
            const float fy = float(y) + (float(sy) + 0.5f) / 4.f;
            xs.clear();
            for (size_t i = 0; i < poly.size(); ++i) {
                const Pt a = poly[i], b = poly[(i + 1) % poly.size()];
                if ((a.y <= fy) != (b.y <= fy))
                    xs.push_back(a.x + (fy - a.y) / (b.y - a.y) * (b.x - a.x));
            }
            std::sort(xs.begin(), xs.end());
            for (size_t i = 0; i + 1 < xs.size(); i += 2)
                for (int x = x0; x <= x1; ++x)
                    for (int sx = 0; sx < 4; ++sx) {
                        const float fx = float(x) + (float(sx) + 0.5f) / 4.f;
                        if (fx >= xs[i] && fx < xs[i + 1])
                            row[size_t(x - x0)] += 1.f / 16.f;
                    }
        }
        for (int x = x0; x <= x1; ++x)
            ink.mark(x, y, row[size_t(x - x0)] * strength);
    }
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
