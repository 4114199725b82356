// The automatic render scale, driven by frame times handed in: no clock.
#include <gtest/gtest.h>

#include <vector>

#include "demo/render_scale_controller.h"

namespace {
// Feeds frames of `ms` for `seconds` of their own time; returns the scales
// the controller changed to on the way.
std::vector<double> run(cRenderScaleController& c, double ms, double seconds)
{
    std::vector<double> changes;
    for (double t = 0.0; t < seconds * 1000.0; t += ms)
        if (c.frame(ms))
            changes.push_back(c.scale());
    return changes;
}

// Frames whose time follows the pixels they write: fullMs at full size.
void run_pixels(cRenderScaleController& c, double fullMs, double seconds)
{
    for (double t = 0.0; t < seconds * 1000.0;) {
        const double ms = fullMs * c.scale() * c.scale();
        c.frame(ms);
        t += ms;
    }
}

cRenderScaleController::Settings at(double fps)
{
    cRenderScaleController::Settings s;
    s.fpsTarget = fps;
    return s;
}
}  // namespace

TEST(RenderScaleController, SlowFramesDropStraightToTheStepThatFitsAfterTheHold)
{
    cRenderScaleController c(at(30));
    // 60 ms at full size: the pixels of sqrt(33.3 / 60) = 0.745 fit, the step
    // below is 0.625. Nothing moves before the two seconds of hold.
    EXPECT_TRUE(run(c, 60.0, 1.9).empty());
    EXPECT_EQ(c.scale(), 1.0);
    EXPECT_EQ(run(c, 60.0, 0.2), std::vector<double>{0.625});
    // Frames at the new size that keep the target leave it there.
    EXPECT_TRUE(run(c, 60.0 * 0.625 * 0.625, 30.0).empty());
    EXPECT_EQ(c.scale(), 0.625);
}

TEST(RenderScaleController, NeverGoesBelowItsFloorNorAboveFull)
{
    cRenderScaleController c(at(30));
    const std::vector<double> down = run(c, 500.0, 60.0);
    ASSERT_FALSE(down.empty());
    EXPECT_EQ(down.back(), 0.5);
    EXPECT_EQ(c.scale(), 0.5);

    cRenderScaleController fast(at(30), 1.0);
    EXPECT_TRUE(run(fast, 2.0, 30.0).empty());
    EXPECT_EQ(fast.scale(), 1.0);

    cRenderScaleController::Settings low = at(30);
    low.minScale = 0.25;
    cRenderScaleController lower(low);
    run(lower, 500.0, 60.0);
    EXPECT_EQ(lower.scale(), 0.25);
}

TEST(RenderScaleController, FramesInsideTheDeadBandChangeNothing)
{
    // The band lies under the target: 28.3 to 33.3 ms at 30 frames a second.
    for (double ms : {29.0, 31.0, 33.3}) {
        cRenderScaleController c(at(30), 0.75);
        EXPECT_TRUE(run(c, ms, 60.0).empty()) << ms;
        EXPECT_EQ(c.scale(), 0.75);
    }
}

TEST(RenderScaleController, FramesJustSlowerThanTheTargetStillDrop)
{
    // 36 ms is 28 frames a second: short of the target, so a step down.
    cRenderScaleController c(at(30), 0.75);
    EXPECT_EQ(run(c, 36.0, 3.0), std::vector<double>{0.625});
}

TEST(RenderScaleController, FastFramesClimbOneStepAtATimeWithTheHoldBetween)
{
    cRenderScaleController c(at(30), 0.5);
    // 8 ms at 0.5 is 32 ms at full size.
    double sinceChange = 0.0;
    std::vector<double> changes;
    std::vector<double> holds;
    for (int i = 0; i < 2000; ++i) {
        const double ms = 32.0 * c.scale() * c.scale();
        sinceChange += ms;
        if (c.frame(ms)) {
            changes.push_back(c.scale());
            holds.push_back(sinceChange);
            sinceChange = 0.0;
        }
    }
    EXPECT_EQ(changes, (std::vector<double>{0.625, 0.75, 0.875, 1.0}));
    for (double h : holds)
        EXPECT_GE(h, 2000.0);
}

TEST(RenderScaleController, DoesNotClimbToASizeThatWouldMissTheTarget)
{
    // 27 ms at 0.5 is under the band (28.3 ms) but 0.625 would take 42 ms:
    // climbing would only bring it down again, over and over.
    cRenderScaleController c(at(30), 0.5);
    EXPECT_TRUE(run(c, 27.0, 60.0).empty());
    EXPECT_EQ(c.scale(), 0.5);
}

TEST(RenderScaleController, ALoneSlowFrameIsNotAReasonToDrop)
{
    cRenderScaleController c(at(30));
    run(c, 30.0, 5.0);
    EXPECT_FALSE(c.frame(400.0));  // a stall of the system, or a layer's first frame
    EXPECT_TRUE(run(c, 30.0, 10.0).empty());
    EXPECT_EQ(c.scale(), 1.0);
}

TEST(RenderScaleController, TheFirstFramesAtANewSizeAreNotMeasured)
{
    cRenderScaleController c(at(30));
    int frames = 0;
    while (!c.frame(60.0) && ++frames < 1000) {
    }
    ASSERT_EQ(c.scale(), 0.625);
    // The targets of the new size cost the first frames dearly; the frames
    // after them decide.
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(c.frame(900.0));
    EXPECT_TRUE(run(c, 25.0, 1.0).empty());
    EXPECT_NEAR(c.smoothed_ms(), 25.0, 0.01);
}

TEST(RenderScaleController, AHigherTargetAsksForSmallerPictures)
{
    cRenderScaleController c30(at(30)), c60(at(60));
    run_pixels(c30, 40.0, 20.0);
    run_pixels(c60, 40.0, 20.0);
    EXPECT_EQ(c30.scale(), 0.875);
    EXPECT_EQ(c60.scale(), 0.625);
}
