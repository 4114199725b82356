// The capture's frame grid, its times and markers, and the contact sheet's
// pixel work: what the tool runs test only as a whole.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "contact/contact_sheet.h"
#include "offline/capture_options.h"
#include "offline/frame_timing.h"
#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"

TEST(CaptureFrameGrid, WholeMillisecondsRoundedDownOnOneGridEitherSideOfTheStart)
{
    EXPECT_EQ(frame_time_ms(0, 1, 30), 33);
    EXPECT_EQ(frame_time_ms(0, 2, 30), 66);
    EXPECT_EQ(frame_time_ms(0, 3, 30), 100);
    EXPECT_EQ(frame_time_ms(1000, -1, 30), 966);
    // A capture from 2 s shows the very times of a capture from 0 s.
    for (int j = -60; j <= 60; ++j)
        EXPECT_EQ(frame_time_ms(2000, j, 30), frame_time_ms(0, 60 + j, 30)) << j;
    EXPECT_EQ(frame_count(0, 1000, 30), 30);
    EXPECT_EQ(frame_count(0, 1001, 30), 31);
    EXPECT_EQ(frame_count(0, 34, 30), 2);
    EXPECT_EQ(frame_count(5, 5, 30), 0);
    // Sound: the player's seek sample, and one second of pictures is one
    // second of samples.
    EXPECT_EQ(first_sample(25500, 44100), 1124550);
    EXPECT_EQ(samples_before_frame(30, 30, 44100), 44100);
    EXPECT_EQ(samples_before_frame(1, 30, 44100), 1470);
    EXPECT_EQ(samples_before_frame(7, 24, 44100), 12862);  // 12862.5 rounded down
}

TEST(CaptureRange, TimesMarkersAndTheirErrors)
{
    const std::string script = "s00 0:0:1:0\ns03 0:0:25:500\nquit 0:1:0:0\n";
    std::ostringstream warn;
    std::unique_ptr<cEventQueue> q(cEventQueue_factory::parse(script.data(), script.size(), warn));
    ASSERT_TRUE(q);

    CaptureOptions o;
    std::string error;
    ASSERT_TRUE(check_range(*q, o, error)) << error;
    EXPECT_EQ(o.fromMs, 1000);  // the start marker to the quit marker
    EXPECT_EQ(o.toMs, 60000);
    o.from = "s03";
    o.to = "26";
    ASSERT_TRUE(check_range(*q, o, error)) << error;
    EXPECT_EQ(o.fromMs, 25500);
    EXPECT_EQ(o.toMs, 26000);
    o.from = "0.5";
    EXPECT_FALSE(check_range(*q, o, error));
    EXPECT_EQ(error, "the range 00:00:00,500 to 00:00:26,000 lies outside the show (00:00:01,000 to 00:01:00,000)");
}

TEST(CaptureArgs, DefaultsAndPngAlone)
{
    CaptureOptions o;
    std::string error;
    ASSERT_TRUE(parse_capture_args({}, false, o, error));
    EXPECT_EQ(o.output, "morvane.mp4");
    EXPECT_EQ(o.fps, 30);
    ASSERT_TRUE(parse_capture_args({"--png", "frames", "--size", "640x360"}, false, o, error));
    EXPECT_EQ(o.output, "") << "PNG frames instead of the video";
    EXPECT_EQ(o.width, 640);
    EXPECT_FALSE(parse_capture_args({"--size", "641x360"}, false, o, error));
    EXPECT_FALSE(parse_capture_args({"--solo", "x"}, true, o, error)) << "contact has no --solo";
}

TEST(ContactSheet, ThumbnailsAverageTheirBoxAndLabelsWrapAtLayerNames)
{
    cContactSheet sheet(24);
    EXPECT_EQ(sheet.columns(), 6);
    EXPECT_EQ(sheet.rows(), 4);
    // A 640x360 picture: the top half white, the bottom half black, rows
    // bottom-up as GL reads them.
    std::vector<uint8_t> pic(640 * 360 * 4, 0);
    for (int y = 180; y < 360; ++y)
        std::fill(pic.begin() + y * 640 * 4, pic.begin() + (y + 1) * 640 * 4, 255);
    sheet.place(7, pic.data(), 640, 360, "00:00:01,000", "scenecomp:  - a");
    int x, y;
    sheet.cell_origin(7, x, y);
    EXPECT_EQ(x, 12 + 332);
    EXPECT_EQ(y, 12 + 236);
    auto px = [&](int px_, int py_) {
        return sheet.pixels()[(size_t(sheet.height() - 1 - py_) * sheet.width() + px_) * 4];
    };
    EXPECT_EQ(px(x + 5, y + 5), 255);
    EXPECT_EQ(px(x + 5, y + 175), 0);
    EXPECT_EQ(px(x - 1, y + 5), cContactSheet::BACKGROUND[2]);

    EXPECT_EQ(cContactSheet::wrap("scenecomp:  - mandala - title - spike", 24, 2),
              (std::vector<std::string>{"scenecomp:  - mandala", "title - spike"}));
    EXPECT_EQ(cContactSheet::wrap("abcdefghij", 4, 2), (std::vector<std::string>{"abcd", "efgh"}));
}
