// The pen's strokes, fills and letters as the baked art relies on them:
// a stroke is solid along its whole length however it turns or crosses
// itself, a fill leaves the holes of an even-odd polygon open, the canvas
// keeps the stronger ink, and the letters land where the layout says.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "assets/cairo_canvas.h"
#include "assets/ink.h"
#include "assets/typeface.h"

namespace {
constexpr float PI = 3.14159265f;

float inked(const Ink& ink, float threshold = 0.5f)
{
    int n = 0;
    for (float v : ink.v)
        n += v > threshold;
    return float(n);
}
}  // namespace

TEST(InkStroke, SolidAlongAClosedCrossingCurveItsWidthFollowingThePressure)
{
    // A closed ring drawn past its start, as the portraits' glasses are: the
    // overlapping steps must add up, not cancel where they cross.
    Ink ink(200, 200);
    stroke(ink, arc({100.f, 100.f}, 60.f, 60.f, 0.f, 2.2f * PI, 48), 6.f, 6.f, 6.f);
    for (int k = 0; k < 36; ++k) {
        const float a = float(k) * PI / 18.f;
        EXPECT_GT(ink.at(int(100.f + 60.f * std::cos(a)), int(100.f + 60.f * std::sin(a))), 0.9f) << "angle " << k;
    }
    EXPECT_EQ(ink.at(100, 100), 0.f) << "the middle stays paper";
    // About the ring's area: 2 pi r times the width.
    EXPECT_NEAR(inked(ink), 2.f * PI * 60.f * 6.f, 2.f * PI * 60.f * 6.f * 0.15f);

    // Pressure: thin at the ends, heavy in the middle.
    Ink taper(300, 60);
    stroke(taper, {{20.f, 30.f}, {150.f, 30.f}, {280.f, 30.f}}, 1.f, 12.f, 1.f);
    auto thickness = [&](int x) {
        int n = 0;
        for (int y = 0; y < taper.h; ++y)
            n += taper.at(x, y) > 0.5f;
        return n;
    };
    EXPECT_GE(thickness(150), 10);
    EXPECT_LE(thickness(30), 3);
    EXPECT_LE(thickness(270), 3);
}

TEST(InkStroke, ADotAFaintStrokeAndTheStrongerInkKept)
{
    Ink ink(40, 40);
    segment(ink, {20.f, 20.f}, {20.f, 20.f}, 10.f);
    EXPECT_GT(ink.at(20, 20), 0.99f) << "a segment of no length is a round dot";
    EXPECT_GT(ink.at(20, 16), 0.9f);
    EXPECT_EQ(ink.at(20, 27), 0.f);
    // A faint stroke over the dot leaves the dot as dark as it was, and
    // inks the paper beside it only as strongly as asked.
    segment(ink, {2.f, 20.f}, {38.f, 20.f}, 4.f, 0.4f);
    EXPECT_GT(ink.at(20, 20), 0.99f);
    EXPECT_NEAR(ink.at(5, 20), 0.4f, 0.01f);
    for (float v : ink.v)
        EXPECT_LE(v, 1.f);
    // Strokes reaching past the canvas are cut at its edge.
    stroke(ink, {{-50.f, -50.f}, {90.f, 90.f}}, 8.f, 8.f, 8.f);
    EXPECT_GT(ink.at(0, 0), 0.9f);
    EXPECT_GT(ink.at(39, 39), 0.9f);
}

TEST(InkFill, EvenOddLeavesTheStarsMiddleOpen)
{
    // A five-pointed star drawn in one line: its points inked, its pentagon
    // in the middle wound twice and left open.
    Ink ink(200, 200);
    std::vector<Pt> star;
    for (int k = 0; k < 5; ++k) {
        const float a = -PI / 2.f + float(k) * 4.f * PI / 5.f;
        star.push_back({100.f + 90.f * std::cos(a), 100.f + 90.f * std::sin(a)});
    }
    fill(ink, star);
    EXPECT_EQ(ink.at(100, 100), 0.f);
    EXPECT_GT(ink.at(100, 25), 0.9f) << "the top point";
    EXPECT_EQ(ink.at(5, 195), 0.f);
    fill(ink, {{10.f, 10.f}, {20.f, 10.f}}, 1.f);  // two points are no polygon
    EXPECT_EQ(ink.at(15, 10), 0.f);
}

TEST(InkLettering, LettersWhereTheLayoutSaysOnInkAndOnAnyCairoPicture)
{
    Typeface face;
    ASSERT_TRUE(face.open(TITLE_FACE));
    const int px = 60;
    Ink ink(400, 100);
    const float advance = face.draw(ink, "MORVANE", 10.f, 80.f, px);
    EXPECT_FLOAT_EQ(advance, face.measure("MORVANE", px));
    int left = ink.w, right = -1, top = ink.h, bottom = -1;
    for (int y = 0; y < ink.h; ++y)
        for (int x = 0; x < ink.w; ++x)
            if (ink.at(x, y) > 0.5f) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    EXPECT_NEAR(left, 10, 6);
    EXPECT_NEAR(right, 10 + advance, 8);
    EXPECT_NEAR(bottom, 80, 2) << "capitals stand on the baseline";
    EXPECT_NEAR(float(top), 80.f - face.cap_height(px), 2.f);

    // The same letters drawn on a Cairo picture: the same coverage.
    CairoCanvas mask(CAIRO_FORMAT_A8, 400, 100);
    cairo_set_source_rgb(mask.cr(), 0, 0, 0);
    face.draw(mask.cr(), "MORVANE", 10.f, 80.f, px);
    int differ = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 400; ++x)
            differ += std::fabs(float(mask.data()[y * mask.stride() + x]) / 255.f - ink.at(x, y)) > 0.01f;
    EXPECT_EQ(differ, 0);
}

TEST(InkLettering, FacesComeAndGoWhileCairoKeepsItsFontCaches)
{
    // Cairo may hold a face in its caches after its Typeface is gone; each
    // new Typeface draws with its own handles all the same.
    for (int round = 0; round < 3; ++round) {
        Typeface face;
        ASSERT_TRUE(face.open(round % 2 ? TEXT_FACE : CELL_FACE));
        Ink ink(120, 40);
        face.draw(ink, "ink", 4.f, 30.f, 24);
        EXPECT_GT(inked(ink), 50.f) << "round " << round;
    }
    Typeface missing;
    EXPECT_FALSE(missing.open("/nonexistent/face.otf"));
    Ink ink(50, 50);
    EXPECT_EQ(missing.draw(ink, "x", 0.f, 40.f, 30), 0.f);
    EXPECT_EQ(inked(ink, 0.f), 0.f);
}
