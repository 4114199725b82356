// The profiler's plot as a user reads it: the floor filled beneath the
// frame time, the sections shaded and named, the picture written whole
// under its name and the same on every run.
#include <gtest/gtest.h>

#include <FreeImage.h>

#include <cstdio>
#include <string>
#include <vector>

#include "profile/profile_plot.h"
#include "support/run_tool.h"
#include "support/shader_setup.h"

namespace {
struct Rgb {
    int r, g, b;
};

// The plot's pixel at (x, y), y from the top.
Rgb pixel(FIBITMAP* image, int x, int y)
{
    const int h = int(FreeImage_GetHeight(image));
    RGBQUAD q;
    FreeImage_GetPixelColor(image, unsigned(x), unsigned(h - 1 - y), &q);
    return {q.rgbRed, q.rgbGreen, q.rgbBlue};
}

bool near(Rgb a, unsigned rgb, int slack = 24)
{
    auto close = [&](int v, unsigned want) { return std::abs(v - int(want & 0xff)) <= slack; };
    return close(a.r, rgb >> 16) && close(a.g, rgb >> 8) && close(a.b, rgb);
}

// Two sections of a second each: 20 ms frames over a 10 ms floor, then 40
// ms frames over a 10 ms floor.
void figures(std::vector<FrameFigure>& frames, std::vector<SectionFigure>& sections)
{
    for (int t = 0; t <= 2000; t += 20) {
        FrameFigure f;
        f.t = t;
        f.ms = t < 1000 ? 20.0 : 40.0;
        f.floorMs = 10.0;
        f.pictureFloorMs = 15.0;
        frames.push_back(f);
    }
    SectionFigure a, b;
    a.name = "mandalacube", a.from = 0, a.to = 980;
    b.name = "spikeball", b.from = 1000, b.to = 2000;
    sections = {a, b};
}
}  // namespace

TEST(ProfilePlot, FloorBeneathTheFrameTimeSectionsShadedAndTheSameBytesEveryRun)
{
    TempDir dir;
    std::vector<FrameFigure> frames;
    std::vector<SectionFigure> sections;
    figures(frames, sections);
    const std::string path = dir.path + "/frame_times.png", again = dir.path + "/again.png";
    std::string error;
    ASSERT_TRUE(write_profile_plot(path, frames, sections, error)) << error;
    ASSERT_TRUE(write_profile_plot(again, frames, sections, error)) << error;
    EXPECT_EQ(read_whole_file(path), read_whole_file(again));
    EXPECT_EQ(std::fopen((path + ".part").c_str(), "rb"), nullptr) << "no half-written picture left behind";

    FIBITMAP* image = FreeImage_Load(FIF_PNG, path.c_str());
    ASSERT_TRUE(image);
    ASSERT_EQ(FreeImage_GetWidth(image), 1600u);
    ASSERT_EQ(FreeImage_GetHeight(image), 600u);
    // The scale's top is 1.08 x 40 ms over the 500 pixels between y 60 and
    // 560; the plot spans x 70 to 1579 over the two seconds.
    auto y_of = [](double ms) { return int(560 - ms / 43.2 * 500); };
    const int early = 70 + 377, late = 70 + 1132;  // 0.5 s and 1.5 s
    EXPECT_TRUE(near(pixel(image, early, y_of(5)), 0x2f6fb0)) << "the floor filled in blue";
    EXPECT_TRUE(near(pixel(image, late, y_of(5)), 0x2f6fb0));
    EXPECT_TRUE(near(pixel(image, early, y_of(20)), 0xffa030, 60)) << "the frame time in orange";
    EXPECT_TRUE(near(pixel(image, late, y_of(15)), 0x60e080, 60)) << "the picture floor in green";
    EXPECT_TRUE(near(pixel(image, late, y_of(40)), 0xffa030, 60));
    // Above the line, each section's own shade.
    EXPECT_TRUE(near(pixel(image, early, y_of(30)), 0x262b3a, 4));
    EXPECT_TRUE(near(pixel(image, late, y_of(30)) , 0x1c2230, 4));
    EXPECT_TRUE(near(pixel(image, 5, 5), 0x101014, 0)) << "the margin";
    // The sections' names are lettered above the plot.
    int lettered = 0;
    for (int y = 32; y < 60; ++y)
        for (int x = 72; x < 200; ++x)
            lettered += pixel(image, x, y).r > 128;
    EXPECT_GT(lettered, 40);
    FreeImage_Unload(image);
}

TEST(ProfilePlot, AnUnwritablePlaceFailsNamingTheFile)
{
    std::vector<FrameFigure> frames;
    std::vector<SectionFigure> sections;
    figures(frames, sections);
    std::string error;
    EXPECT_FALSE(write_profile_plot("/nonexistent-dir/frame_times.png", frames, sections, error));
    EXPECT_NE(error.find("/nonexistent-dir/frame_times.png"), std::string::npos) << error;
}
