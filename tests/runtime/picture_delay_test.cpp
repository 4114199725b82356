// The picture's delay the music is held back by: from a frame's clock
// reading to the middle of its picture's stay on the screen.
#include <gtest/gtest.h>

#include "runtime/picture_delay.h"

TEST(PictureDelay, IsTheDelayToTheScreenPlusHalfAPicturesStay)
{
    cPictureDelay d;
    // Nothing seen yet: a frame at 60 Hz, shown for a frame.
    EXPECT_EQ(d.estimate_ms(), 17 + 8);
    // 100 ms a frame, each on the screen 90 ms after its clock reading.
    for (int f = 0; f < 20; ++f)
        d.frame_shown(1000 + 100 * f, 1090 + 100 * f);
    EXPECT_EQ(d.estimate_ms(), 90 + 50);
    // One frame held up by a texture upload (400 ms to the screen) leaves
    // the delay at its median; its long stay weighs in:
    // (8 · 100² + 410²) / (2 · 1210) = 102.
    d.frame_shown(3000, 3400);
    EXPECT_EQ(d.estimate_ms(), 90 + 102);
}

TEST(PictureDelay, UnevenFramesCountByHowLongEachStays)
{
    cPictureDelay d;
    // Alternating 20 ms and 180 ms stays: a listener looks at the long
    // pictures nine tenths of the time, so the middle of a stay is
    // (20² + 180²) / (2 · 200) = 82 ms after it appears, not 50.
    int t = 0;
    for (int f = 0; f < 21; ++f) {
        t += f % 2 ? 20 : 180;
        d.frame_shown(t - 5, t);
    }
    EXPECT_NEAR(d.estimate_ms(), 5 + 82, 3);
}

TEST(PictureDelay, APauseIsNoPicturesStay)
{
    cPictureDelay d;
    for (int f = 0; f < 20; ++f)
        d.frame_shown(100 * f, 100 * f + 10);
    const int steady = d.estimate_ms();
    d.skip_frame();  // paused for ten seconds
    d.frame_shown(12000, 12010);
    EXPECT_EQ(d.estimate_ms(), steady);
}
