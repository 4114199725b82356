// The frame profiler's floor arithmetic and its grouping of frames into
// sections.
#include <gtest/gtest.h>

#include "profile/profile_figures.h"

namespace {
// Full, half and quarter of 1280x720; deliberately not proportional, as
// measured copies are not.
CopyCosts costs()
{
    return CopyCosts{{921600, 230400, 57600}, {4.0, 1.2, 0.4}};
}

PassFigure pass(const char* shader, long pixels, float samples, double ms = 1.0, const char* scope = "a")
{
    PassFigure p;
    p.shader = shader;
    p.scope = scope;
    p.pixels = pixels;
    p.samples = samples;
    p.ms = ms;
    return p;
}

FrameFigure frame(int t, std::vector<std::string> layers, double ms, double floorMs = 1.0)
{
    FrameFigure f;
    f.t = t;
    f.layers = std::move(layers);
    f.ms = ms;
    f.floorMs = floorMs;
    return f;
}
}  // namespace

TEST(ProfileFloor, CopyCostAtMeasuredSizesBetweenAndBeyondThem)
{
    const CopyCosts c = costs();
    EXPECT_DOUBLE_EQ(copy_cost(c, 921600), 4.0);
    EXPECT_DOUBLE_EQ(copy_cost(c, 57600), 0.4);
    // Halfway in pixels between half and full size.
    EXPECT_DOUBLE_EQ(copy_cost(c, (921600 + 230400) / 2), 2.6);
    // Outside the measured classes: proportional to the nearest one.
    EXPECT_DOUBLE_EQ(copy_cost(c, 2 * 921600), 8.0);
    EXPECT_DOUBLE_EQ(copy_cost(c, 57600 / 4), 0.1);
    EXPECT_EQ(copy_cost(CopyCosts{}, 921600), 0.0);
    EXPECT_EQ(copy_cost(c, 0), 0.0);
}

TEST(ProfileFloor, MedianOfCopyRunsIgnoresOneSpike)
{
    const CopyCosts a{{921600, 230400}, {4.0, 1.0}}, b{{921600, 230400}, {40.0, 1.2}}, c{{921600, 230400}, {5.0, 1.1}};
    const CopyCosts m = median_copy_costs({a, b, c});
    EXPECT_EQ(m.pixels, a.pixels);
    EXPECT_DOUBLE_EQ(m.ms[0], 5.0);
    EXPECT_DOUBLE_EQ(m.ms[1], 1.1);
    EXPECT_TRUE(median_copy_costs({}).ms.empty());
}

TEST(ProfileFloor, PassesCountTheirSamplesOverThePixelsTheyWrote)
{
    const CopyCosts c = costs();
    EXPECT_EQ(pass_samples("levels_shader"), 1.f);
    EXPECT_EQ(pass_samples("no_alpha_blur_shader"), 5.f);
    EXPECT_EQ(pass_samples("screen_comp"), 2.f);
    EXPECT_EQ(pass_samples("horz_quater_resample_shader"), 4.f);
    EXPECT_EQ(pass_samples("morph_shader"), 1.f);
    EXPECT_EQ(pass_samples("plain_quad"), 1.f);
    // A quarter-size radial blur of 12 samples, a full-size blur half, a
    // composition of two full-size inputs, and a mesh that wrote a quarter
    // of a full-size target.
    std::vector<PassFigure> passes = {pass("radialblur_shader", 57600, 12.f), pass("alpha_blur_shader", 921600, 5.f),
                                      pass("blend_comp", 921600, 2.f), pass("morph_shader", 921600, 1.f)};
    passes[3].fragments = 230400;
    EXPECT_DOUBLE_EQ(pass_floor(c, 57600, 12.f), 4.8);
    EXPECT_DOUBLE_EQ(frame_floor(c, passes), 4.8 + 20.0 + 8.0 + 1.2);
    // Fragments counted replace the target's size, even when none were
    // written; uncounted, the pass is charged its whole target.
    passes[1].fragments = 0;
    EXPECT_DOUBLE_EQ(frame_floor(c, passes), 4.8 + 8.0 + 1.2);
    // The same radial blur drawn into a full-size target has a floor 16
    // times larger: the profile shows where the pixels go.
    EXPECT_DOUBLE_EQ(pass_floor(c, 921600, 12.f), 48.0);
}

TEST(ProfileSections, ConsecutiveFramesWithTheSameLayersFormASection)
{
    std::vector<FrameFigure> frames = {frame(0, {}, 5), frame(40, {"cube"}, 10), frame(80, {"cube"}, 30, 10),
                                       frame(120, {"cube", "title"}, 20), frame(160, {"cube"}, 8)};
    frames[1].passes = {pass("levels_shader", 1, 1, 3.0), pass("blend_comp", 1, 2, 1.0)};
    frames[2].passes = {pass("levels_shader", 1, 1, 5.0), pass("blend_comp", 1, 2, 1.0),
                        pass("hsb_shader", 1, 1, 0.5), pass("invert_shader", 1, 1, 0.25, "b")};
    const std::vector<SectionFigure> s = group_sections(frames);
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].name, "(none)");
    EXPECT_EQ(s[2].name, "cube + title");
    // The cube coming back after the title is a section of its own.
    EXPECT_EQ(s[3].name, "cube");
    EXPECT_EQ(s[3].from, 160);

    const SectionFigure& cube = s[1];
    EXPECT_EQ(cube.from, 40);
    EXPECT_EQ(cube.to, 80);
    EXPECT_EQ(cube.frames, 2);
    EXPECT_DOUBLE_EQ(cube.meanMs, 20.0);
    EXPECT_DOUBLE_EQ(cube.worstMs, 30.0);
    EXPECT_EQ(cube.worstT, 80);
    EXPECT_DOUBLE_EQ(cube.fps(), 50.0);
    EXPECT_DOUBLE_EQ(cube.floorMultiple(), 20.0 / 5.5);
    // The three passes with most time per frame, summed across frames.
    ASSERT_EQ(cube.top.size(), 3u);
    EXPECT_EQ(cube.top[0].first, "a/levels_shader");
    EXPECT_DOUBLE_EQ(cube.top[0].second, 4.0);
    EXPECT_EQ(cube.top[1].first, "a/blend_comp");
    EXPECT_EQ(cube.top[2].first, "a/hsb_shader");

    const SectionFigure whole = whole_run(frames);
    EXPECT_EQ(whole.frames, 5);
    EXPECT_DOUBLE_EQ(whole.meanPictureFloorMs, 0.0);
    EXPECT_DOUBLE_EQ(whole.pictureFloorMultiple(), 0.0);  // not measured: no multiple
    EXPECT_DOUBLE_EQ(whole.meanMs, 14.6);
    EXPECT_TRUE(group_sections({}).empty());
}

TEST(ProfileFloor, ThePictureFloorIsOneFullWritePerLayerAndOneForTheFrame)
{
    CopyCosts c;
    c.pixels = {921600, 230400};
    c.ms = {8.0, 2.0};
    EXPECT_DOUBLE_EQ(picture_floor(c, 921600, 0), 8.0);
    EXPECT_DOUBLE_EQ(picture_floor(c, 921600, 3), 32.0);
    // At another picture size the copy cost follows its pixels.
    EXPECT_DOUBLE_EQ(picture_floor(c, 230400, 1), 4.0);
    EXPECT_DOUBLE_EQ(picture_floor(CopyCosts{}, 921600, 2), 0.0);

    std::vector<FrameFigure> frames = {frame(0, {"cube"}, 40), frame(40, {"cube"}, 20)};
    frames[0].pictureFloorMs = 16.0;
    frames[1].pictureFloorMs = 14.0;
    const SectionFigure s = whole_run(frames);
    EXPECT_DOUBLE_EQ(s.meanPictureFloorMs, 15.0);
    EXPECT_DOUBLE_EQ(s.pictureFloorMultiple(), 2.0);
}
