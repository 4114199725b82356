#include "assets/portraits.h"

#include <cmath>
#include <vector>

namespace {
constexpr float PI = 3.14159265f;

// Maps head units (x right, y down, about -1..1) to canvas pixels, moving
// each point by a small seeded amount.
struct Pen {
    Ink& ink;
    Pt c;
    float s;
    unsigned seed;
    float wobble;  // head units
    unsigned n = 0;

    Pt p(float x, float y)
    {
        const float jx = wobble * (2.f * hash01(seed, n) - 1.f), jy = wobble * (2.f * hash01(seed, n + 1) - 1.f);
        n += 2;
        return {c.x + (x + jx) * s, c.y + (y + jy) * s};
    }
    std::vector<Pt> pts(std::initializer_list<Pt> list)
    {
        std::vector<Pt> out;
        for (Pt q : list)
            out.push_back(p(q.x, q.y));
        return out;
    }
    std::vector<Pt> ellipse(Pt o, float rx, float ry, float a0, float sweep, int count)
    {
        std::vector<Pt> out;
        for (const Pt& q : arc(o, rx, ry, a0, sweep, count))
            out.push_back(p(q.x, q.y));
        return out;
    }
    void line(const std::vector<Pt>& q, float w0, float wm, float w1, float strength = 1.f)
    {
        stroke(ink, q, w0, wm, w1, strength);
    }
    void dot(float x, float y, float r)
    {
        fill(ink, ellipse({x, y}, r, r, 0.f, 2.f * PI, 16));
    }
};
}  // namespace

void draw_kesmo(Ink& ink, Pt centre, float size, unsigned seed)
{
    Pen pen{ink, centre, size, seed, 0.012f};
    // Face: the jaw and cheeks; the hair covers the top.
    pen.line(pen.ellipse({0.f, 0.05f}, 0.62f, 0.74f, -0.15f, PI + 0.3f, 28), 2.f, 4.5f, 2.f);
    // Ears.
    pen.line(pen.ellipse({-0.64f, 0.08f}, 0.1f, 0.16f, 0.6f * PI, 1.1f * PI, 10), 1.5f, 3.f, 1.5f);
    pen.line(pen.ellipse({0.64f, 0.08f}, 0.1f, 0.16f, -0.7f * PI, 1.1f * PI, 10), 1.5f, 3.f, 1.5f);
    // Spiky hair: strokes out from the crown, heavy at the root.
    for (int i = 0; i < 15; ++i) {
        const float a = PI + 0.12f + (PI - 0.24f) * float(i) / 14.f;
        const float len = 1.22f + 0.16f * hash01(7, unsigned(i));
        const float bend = 0.12f * (hash01(8, unsigned(i)) - 0.5f);
        pen.line(pen.pts({{0.6f * std::cos(a - 0.1f), 0.05f + 0.7f * std::sin(a - 0.1f)},
                          {0.85f * std::cos(a + bend), 0.05f + 0.95f * std::sin(a + bend)},
                          {len * 0.62f * std::cos(a + 2 * bend), 0.05f + len * 0.76f * std::sin(a + 2 * bend)}}),
                 5.f, 3.f, 0.8f);
    }
    // The hairline, a ragged fringe over the forehead.
    pen.line(pen.pts({{-0.6f, -0.05f}, {-0.35f, -0.3f}, {-0.2f, -0.2f}, {0.f, -0.34f}, {0.2f, -0.22f}, {0.4f, -0.33f},
                      {0.6f, -0.05f}}),
             2.f, 4.f, 2.f);
    // Round glasses, their bridge and arms.
    pen.line(pen.ellipse({-0.27f, 0.05f}, 0.2f, 0.19f, 0.f, 2.f * PI, 24), 3.f, 3.5f, 3.f);
    pen.line(pen.ellipse({0.27f, 0.05f}, 0.2f, 0.19f, 0.f, 2.f * PI, 24), 3.f, 3.5f, 3.f);
    pen.line(pen.pts({{-0.07f, 0.02f}, {0.f, -0.01f}, {0.07f, 0.02f}}), 3.f, 3.f, 3.f);
    pen.line(pen.pts({{-0.47f, 0.03f}, {-0.62f, 0.f}}), 3.f, 3.f, 2.f);
    pen.line(pen.pts({{0.47f, 0.03f}, {0.62f, 0.f}}), 3.f, 3.f, 2.f);
    pen.dot(-0.25f, 0.07f, 0.05f);
    pen.dot(0.29f, 0.07f, 0.05f);
    // Brows raised, nose, a wide grin with a dimple.
    pen.line(pen.pts({{-0.45f, -0.2f}, {-0.28f, -0.26f}, {-0.1f, -0.2f}}), 2.f, 5.f, 1.5f);
    pen.line(pen.pts({{0.1f, -0.21f}, {0.28f, -0.28f}, {0.45f, -0.22f}}), 1.5f, 5.f, 2.f);
    pen.line(pen.pts({{0.02f, 0.12f}, {-0.05f, 0.3f}, {0.02f, 0.35f}, {0.08f, 0.32f}}), 1.5f, 3.f, 2.f);
    pen.line(pen.ellipse({0.f, 0.4f}, 0.26f, 0.14f, 0.15f, PI - 0.3f, 14), 2.f, 4.5f, 2.f);
    pen.line(pen.pts({{-0.28f, 0.42f}, {-0.3f, 0.38f}}), 2.f, 2.f, 1.f);
    // Cheek hatching on the shadow side.
    for (int i = 0; i < 6; ++i) {
        const float y = 0.2f + 0.07f * float(i);
        pen.line(pen.pts({{0.42f, y}, {0.54f - 0.02f * float(i), y - 0.08f}}), 1.f, 1.8f, 0.6f, 0.9f);
    }
    // Neck, a crew-neck collar and the shoulders.
    pen.line(pen.pts({{-0.22f, 0.74f}, {-0.24f, 0.95f}}), 3.f, 3.f, 2.f);
    pen.line(pen.pts({{0.22f, 0.74f}, {0.24f, 0.95f}}), 3.f, 3.f, 2.f);
    pen.line(pen.ellipse({0.f, 0.9f}, 0.3f, 0.12f, 0.1f, PI - 0.2f, 12), 3.f, 4.f, 3.f);
    pen.line(pen.pts({{-0.28f, 0.92f}, {-0.7f, 1.f}, {-1.05f, 1.2f}}), 3.f, 4.f, 2.f);
    pen.line(pen.pts({{0.28f, 0.92f}, {0.7f, 1.f}, {1.05f, 1.2f}}), 3.f, 4.f, 2.f);
}

void draw_drulan(Ink& ink, Pt centre, float size, unsigned seed)
{
    Pen pen{ink, centre, size, seed, 0.012f};
    // A long face.
    pen.line(pen.ellipse({0.f, 0.02f}, 0.48f, 0.8f, -0.2f, PI + 0.4f, 28), 2.f, 4.f, 2.f);
    // Long hair from a centre parting, falling past the shoulders.
    for (int side = -1; side <= 1; side += 2) {
        for (int i = 0; i < 9; ++i) {
            const float f = float(i) / 8.f;
            const float sx = float(side);
            pen.line(pen.pts({{0.02f * sx, -0.82f},
                              {sx * (0.3f + 0.25f * f), -0.78f + 0.1f * f},
                              {sx * (0.52f + 0.2f * f), -0.3f + 0.1f * f},
                              {sx * (0.55f + 0.25f * f), 0.4f + 0.15f * f},
                              {sx * (0.5f + 0.35f * f + 0.05f * hash01(9, unsigned(i))), 1.05f + 0.1f * f}}),
                     1.2f, 3.f, 0.6f);
        }
    }
    // Headphones: the band over the hair and two heavy cups.
    pen.line(pen.ellipse({0.f, 0.02f}, 0.7f, 0.98f, PI + 0.22f, PI - 0.44f, 24), 8.f, 9.f, 8.f);
    fill(ink, pen.ellipse({-0.7f, 0.05f}, 0.15f, 0.27f, 0.f, 2.f * PI, 20));
    fill(ink, pen.ellipse({0.7f, 0.05f}, 0.15f, 0.27f, 0.f, 2.f * PI, 20));
    // Heavy brows, narrow eyes.
    pen.line(pen.pts({{-0.38f, -0.16f}, {-0.22f, -0.2f}, {-0.07f, -0.15f}}), 3.f, 7.f, 2.f);
    pen.line(pen.pts({{0.07f, -0.15f}, {0.22f, -0.2f}, {0.38f, -0.16f}}), 2.f, 7.f, 3.f);
    pen.line(pen.ellipse({-0.22f, -0.02f}, 0.12f, 0.05f, PI, PI, 10), 1.5f, 3.f, 1.5f);
    pen.line(pen.ellipse({0.22f, -0.02f}, 0.12f, 0.05f, PI, PI, 10), 1.5f, 3.f, 1.5f);
    pen.dot(-0.22f, -0.03f, 0.035f);
    pen.dot(0.22f, -0.03f, 0.035f);
    // A long nose.
    pen.line(pen.pts({{-0.04f, -0.05f}, {-0.06f, 0.22f}, {-0.1f, 0.3f}, {0.f, 0.34f}, {0.08f, 0.3f}}), 1.5f, 3.f, 2.f);
    // Moustache and beard: strokes down the jaw.
    pen.line(pen.pts({{-0.25f, 0.46f}, {-0.1f, 0.4f}, {0.f, 0.43f}, {0.1f, 0.4f}, {0.25f, 0.46f}}), 2.f, 5.f, 2.f);
    for (int i = 0; i < 22; ++i) {
        const float u = float(i) / 21.f;
        const float x = -0.42f + 0.84f * u;
        const float top = 0.3f + 0.25f * std::fabs(x) * 0.f + (std::fabs(x) < 0.2f ? 0.2f : 0.05f);
        const float bottom = 0.55f + 0.4f * std::sqrt(std::fmax(0.f, 1.f - (x * x) / 0.2f));
        pen.line(pen.pts({{x, top + 0.05f * hash01(10, unsigned(i))}, {x * 0.95f, bottom}}), 1.5f, 2.2f, 0.6f);
    }
    // Neck hidden by the beard; shoulders under the hair.
    pen.line(pen.pts({{-0.5f, 1.f}, {-0.8f, 1.05f}, {-1.1f, 1.25f}}), 3.f, 4.f, 2.f);
    pen.line(pen.pts({{0.5f, 1.f}, {0.8f, 1.05f}, {1.1f, 1.25f}}), 3.f, 4.f, 2.f);
}

void draw_light_head(Ink& shape, Ink& light, Pt centre, float size)
{
    Pen body{shape, centre, size, 0, 0.f};
    Pen pen{light, centre, size, 0, 0.f};
    const std::vector<Pt> face = pen.ellipse({0.f, 0.22f}, 0.56f, 0.6f, 0.f, 2.f * PI, 48);
    const std::vector<Pt> cap = pen.pts({{-0.62f, 0.05f}, {-0.6f, -0.35f}, {-0.4f, -0.72f}, {-0.05f, -0.95f},
                                         {0.35f, -1.02f}, {0.7f, -0.9f}, {0.85f, -0.62f}, {0.72f, -0.55f},
                                         {0.5f, -0.68f}, {0.48f, -0.4f}, {0.62f, 0.05f}, {0.f, 0.14f}});
    const std::vector<Pt> earL = pen.ellipse({-0.58f, 0.25f}, 0.12f, 0.18f, 0.f, 2.f * PI, 16);
    const std::vector<Pt> earR = pen.ellipse({0.58f, 0.25f}, 0.12f, 0.18f, 0.f, 2.f * PI, 16);
    // The silhouette is solid and reaches a broad rim beyond the drawing:
    // the layer is laid over the picture below by its alpha, so the rim
    // (no light in it) darkens a ring of bright star spikes around the head
    // and sets it apart from them.
    for (const auto* part : {&face, &cap, &earL, &earR}) {
        fill(shape, *part);
        body.line(*part, 30.f, 30.f, 30.f);
    }
    // The brightest tones the layer can carry: at most about half of the
    // layer's colour reaches the screen, so anything less than full light
    // turns grey over the dark sky.
    fill(light, face, 0.9f);
    fill(light, cap, 1.f);
    fill(light, earL, 0.82f);
    fill(light, earR, 0.82f);
    // Dark pen lines, drawn as an absence of light: over the bright ring
    // they are what reads.
    Ink dark(light.w, light.h);
    Pen ink{dark, centre, size, 0, 0.f};
    std::vector<Pt> capLine = cap;
    capLine.pop_back();
    ink.line(capLine, 12.f, 16.f, 12.f);
    ink.line(ink.pts({{-0.62f, 0.05f}, {0.f, 0.16f}, {0.62f, 0.05f}}), 12.f, 14.f, 12.f);
    ink.line(ink.ellipse({0.f, 0.22f}, 0.56f, 0.6f, -0.1f, PI + 0.2f, 32), 12.f, 16.f, 12.f);
    ink.line(ink.ellipse({-0.58f, 0.25f}, 0.12f, 0.18f, 0.5f * PI, PI, 12), 10.f, 12.f, 10.f);
    ink.line(ink.ellipse({0.58f, 0.25f}, 0.12f, 0.18f, -0.5f * PI, PI, 12), 10.f, 12.f, 10.f);
    // A fold across the cap, its tip bent over.
    ink.line(ink.pts({{0.1f, -0.92f}, {0.42f, -0.78f}, {0.6f, -0.62f}}), 6.f, 10.f, 5.f);
    // Big white eyes ringed in ink, dark pupils, a nose, a wide smile.
    for (float x : {-0.22f, 0.22f}) {
        ink.line(ink.ellipse({x, 0.2f}, 0.13f, 0.17f, 0.f, 2.f * PI, 24), 9.f, 9.f, 9.f);
        ink.dot(x + 0.02f, 0.23f, 0.075f);
    }
    ink.line(ink.ellipse({0.f, 0.44f}, 0.11f, 0.09f, 0.2f, PI - 0.4f, 14), 6.f, 9.f, 6.f);
    ink.line(ink.ellipse({0.f, 0.55f}, 0.28f, 0.15f, 0.2f, PI - 0.4f, 16), 8.f, 14.f, 8.f);
    for (size_t i = 0; i < light.v.size(); ++i)
        light.v[i] *= 1.f - dark.v[i];
    // A soft highlight on the brow of the cap, and white in the eyes.
    fill(light, pen.ellipse({-0.12f, -0.58f}, 0.16f, 0.08f, 0.f, 2.f * PI, 20), 1.f);
    for (float x : {-0.22f, 0.22f})
        fill(light, pen.ellipse({x - 0.04f, 0.15f}, 0.035f, 0.045f, 0.f, 2.f * PI, 12), 1.f);
}
