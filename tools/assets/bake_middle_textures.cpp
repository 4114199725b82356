// Textures of the middle of the show: the spike ball's glow map, the soft
// ring of its bursts, and the night-sky panorama of the space sphere.
#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <vector>

#include "assets/bake_files.h"
#include "assets/bake_geometry.h"
#include "assets/bake_middle.h"
#include "scenes/show_assets.h"

namespace {
const double PI = 3.14159265358979323846;

double clamp01(double x) { return x < 0 ? 0 : x > 1 ? 1 : x; }
int byte(double v) { return v <= 0 ? 0 : v >= 255 ? 255 : int(v + 0.5); }
double smooth(double e0, double e1, double x)
{
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

void put(FIBITMAP* image, int x, int y, double r, double g, double b, double a = 255)
{
    const int bpp = int(FreeImage_GetBPP(image)) / 8;
    BYTE* p = FreeImage_GetScanLine(image, y) + x * bpp;
    p[FI_RGBA_RED] = BYTE(byte(r));
    p[FI_RGBA_GREEN] = BYTE(byte(g));
    p[FI_RGBA_BLUE] = BYTE(byte(b));
    if (bpp == 4)
        p[FI_RGBA_ALPHA] = BYTE(byte(a));
}

// Smooth value noise on a 3-D lattice, in [0, 1].
double lattice(int x, int y, int z)
{
    unsigned h = unsigned(x) * 73856093u ^ unsigned(y) * 19349663u ^ unsigned(z) * 83492791u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return double((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}
double value_noise(V3 p)
{
    const int x = int(std::floor(p.x)), y = int(std::floor(p.y)), z = int(std::floor(p.z));
    const double fx = p.x - x, fy = p.y - y, fz = p.z - z;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy), sz = fz * fz * (3 - 2 * fz);
    double c[2][2];
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            c[i][j] = lattice(x, y + i, z + j) + (lattice(x + 1, y + i, z + j) - lattice(x, y + i, z + j)) * sx;
    const double a = c[0][0] + (c[1][0] - c[0][0]) * sy, b = c[0][1] + (c[1][1] - c[0][1]) * sy;
    return a + (b - a) * sz;
}
double fbm(V3 p, int octaves)
{
    double sum = 0, amp = 0.5, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * value_noise(p);
        norm += amp;
        amp *= 0.5;
        p = p * 2.03 + V3{17.1, -3.7, 5.3};
    }
    return sum / norm;
}
}  // namespace

bool bake_spikeball_glow(const std::string& dataDir)
{
    // Rows 0..0.25: the core, bright plates between narrow dark grooves.
    // Rows 0.27..1: the spikes from base to tip, dim at the root and
    // glowing towards the tip. Alpha is the self-illumination; colour a warm
    // white. The scene inverts the picture, so the grooves and the roots
    // come out as light lines on a dark ball.
    const int n = 256;
    FIBITMAP* image = FreeImage_Allocate(n, n, 32);
    for (int y = 0; y < n; ++y) {
        const double t = (y + 0.5) / n;
        for (int x = 0; x < n; ++x) {
            double glow, shade;
            if (t < 0.255) {
                const double phase = std::fmod(t * 14.0 / 0.255, 1.0);
                const double groove = smooth(0.0, 0.08, phase) * (1 - smooth(0.92, 1.0, phase));
                const double fine = 0.5 + 0.5 * std::cos(2 * PI * phase * 3.0);
                shade = 0.12 + 0.88 * groove * (0.85 + 0.15 * fine);
                glow = 0.15 + 0.85 * groove;
            } else {
                const double s = clamp01((t - 0.27) / 0.73);
                shade = 0.3 + 0.7 * smooth(0.0, 0.55, s);
                glow = 0.25 + 0.75 * std::pow(s, 1.3);
            }
            put(image, x, y, 255 * shade, 232 * shade, 200 * shade, 255 * glow);
        }
    }
    return save_texture(image, FIF_PNG, dataDir, show_assets::SPIKE_BALL_GLOW, PNG_DEFAULT);
}

bool bake_dodgecircle(const std::string& dataDir)
{
    // A thin bright ring with a soft halo, small in the square: the burst
    // draws it 27 times the screen height at the hit and shrinks it to one,
    // so the ring sweeps in from the edges to the ball while it is bright. Pure black
    // towards the edges, so the scaled quad shows no border.
    const int n = 512;
    FIBITMAP* image = FreeImage_Allocate(n, n, 24);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const double dx = (x + 0.5) / n - 0.5, dy = (y + 0.5) / n - 0.5;
            const double r = std::sqrt(dx * dx + dy * dy) / 0.5;  // 1 at the middle of an edge
            const double ring = std::exp(-std::pow((r - 0.06) / 0.007, 2.0));
            const double halo = 0.45 * std::exp(-std::pow((r - 0.06) / 0.022, 2.0));
            const double glow = 0.1 * std::exp(-std::pow(r / 0.07, 2.0));
            const double v = std::min(1.0, ring + halo + glow) * (1 - smooth(0.5, 0.8, r));
            put(image, x, y, 255 * v, 240 * v, 214 * v);
        }
    return save_texture(image, FIF_JPEG, dataDir, show_assets::DODGE_CIRCLE, JPEG_QUALITYSUPERB);
}

bool bake_sky_panorama(const std::string& dataDir)
{
    // Everything is a function of the direction on the sphere, so the image
    // meets itself where u wraps and nothing pinches at the poles: column i
    // is longitude 360 i / 2048, row j latitude 180 (j + 0.5) / 1024 - 90
    // (south at the bottom), the poles on z as on the sky sphere.
    const int w = 2048, h = 1024;
    std::vector<float> rgb(size_t(w) * h * 3);
    auto dir = [&](double x, double y) {
        const double lon = 2 * PI * (x + 0.5) / w, lat = PI * ((y + 0.5) / h - 0.5);
        return V3{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
    };
    // The sky: deep blue-violet, faint clouds of violet and teal, and a warm
    // glow along the horizon, strongest where the camera looks.
    const V3 glowDir = normalize(V3{397.23, 486.23, 0});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const V3 d = dir(x, y);
            const double cloud = smooth(0.42, 0.78, fbm(d * 2.2, 6));
            const double wisp = smooth(0.5, 0.8, fbm(d * 5.0 + V3{3, 1, 7}, 5));
            const double dust = fbm(d * 9.0 + V3{-5, 2, 1}, 4);
            const double band = 0.09 + 0.07 * fbm(d * 3.0 + V3{9, 9, 9}, 3);
            const double horizon = std::exp(-std::pow((d.z + 0.03 * (dust - 0.5)) / band, 2.0)) *
                                   (0.3 + 0.7 * smooth(-0.4, 1.0, dot(d, glowDir))) * (0.6 + 0.5 * wisp);
            const double haze = std::exp(-std::pow(d.z / 0.45, 2.0));
            double r = 16 + 10 * haze, g = 14 + 8 * haze, b = 34 + 14 * haze;
            r += cloud * (48 + 30 * wisp) * (0.7 + 0.6 * dust);
            g += cloud * (22 + 30 * wisp) * (0.7 + 0.6 * dust);
            b += cloud * (78 + 24 * wisp) * (0.7 + 0.6 * dust);
            r += 150 * horizon, g += 100 * horizon, b += 56 * horizon;
            float* p = &rgb[(size_t(y) * w + x) * 3];
            p[0] = float(r), p[1] = float(g), p[2] = float(b);
        }
    // Stars: most faint and small, a few bright with a wider glow; each is
    // splatted by its angular distance, so it stays round near the poles.
    BakeRandom rnd(1977);
    const int count = 16000;
    for (int s = 0; s < count; ++s) {
        const double z = rnd.range(-1, 1), a = rnd.range(0, 2 * PI);
        const V3 d{std::sqrt(1 - z * z) * std::cos(a), std::sqrt(1 - z * z) * std::sin(a), z};
        const double m = std::pow(rnd.next(), 8.0);
        const double bright = 25 + 160 * std::pow(rnd.next(), 2.0) + 700 * m;
        const double sizePx = 0.45 + 1.7 * m;
        const double tint = rnd.next();
        const double cr = tint < 0.3 ? 0.8 : tint > 0.8 ? 1.0 : 0.95, cg = 0.9, cb = tint < 0.3 ? 1.0 : tint > 0.8 ? 0.72 : 0.92;
        const double lat = std::asin(z), lon = std::atan2(d.y, d.x) < 0 ? std::atan2(d.y, d.x) + 2 * PI : std::atan2(d.y, d.x);
        const double cx = lon / (2 * PI) * w - 0.5, cy = (lat / PI + 0.5) * h - 0.5;
        const double pxAngle = PI / h;  // radians per pixel in latitude
        const int ry = int(std::ceil(sizePx * 3));
        const double cosLat = std::max(std::cos(lat), 1e-3);
        const int rx = std::min(w / 2, int(std::ceil(sizePx * 3 / cosLat)));
        for (int y = int(cy) - ry; y <= int(cy) + ry + 1; ++y) {
            if (y < 0 || y >= h)
                continue;
            for (int xi = int(cx) - rx; xi <= int(cx) + rx + 1; ++xi) {
                const int x = ((xi % w) + w) % w;
                const double ang = std::acos(std::min(1.0, dot(dir(x, y), d))) / pxAngle;
                const double f = std::exp(-ang * ang / (2 * sizePx * sizePx * 0.25));
                if (f < 0.004)
                    continue;
                float* p = &rgb[(size_t(y) * w + x) * 3];
                p[0] += float(bright * f * cr), p[1] += float(bright * f * cg), p[2] += float(bright * f * cb);
            }
        }
    }
    FIBITMAP* image = FreeImage_Allocate(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float* p = &rgb[(size_t(y) * w + x) * 3];
            put(image, x, y, p[0], p[1], p[2]);
        }
    return save_texture(image, FIF_JPEG, dataDir, show_assets::SKY_PANORAMA, JPEG_QUALITYGOOD);
}
