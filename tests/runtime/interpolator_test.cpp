// Interpolators as scenes run them: once a frame, in list order, with one
// extra write after a window closes.
#include <gtest/gtest.h>

#include "platform/cManualTimeSource.h"
#include "runtime/cSceneManager.h"
#include "support/test_scene.h"

namespace {

// A scene on a manager whose clock the test moves by hand, one "frame" per
// run() call.
class Interpolators : public testing::Test {
protected:
    Interpolators() : manager(&source)
    {
        manager.init_clock();
        scene = manager.add_scene<cTestScene>();
    }
    // Runs one frame at demo time t (clock moved forward or back to it).
    void run(int t)
    {
        source.set_ms(t);
        manager.advance_clock();
        scene->update();
    }
    // Runs a frame at t and tells whether `level` was written (by marking it).
    bool writes_at(int t)
    {
        scene->level = -99.f;
        run(t);
        return scene->level != -99.f;
    }

    cManualTimeSource source;
    cSceneManager manager;
    cTestScene* scene;
};

}  // namespace

TEST_F(Interpolators, LerpWritesInsideItsWindowAndOnceMoreAfterIt)
{
    scene->interpolators.push_back(new cLerp<float>(scene->find_var("level"), 1000, 2000, 0.f, 10.f));
    // Before its window nothing is written, the very first frame included.
    EXPECT_FALSE(writes_at(0));
    EXPECT_FALSE(writes_at(999));
    run(1000);
    EXPECT_FLOAT_EQ(scene->level, 0.f);
    run(1500);
    EXPECT_FLOAT_EQ(scene->level, 5.f);
    run(2000);
    EXPECT_FLOAT_EQ(scene->level, 10.f);
    scene->level = 3.f;
    run(2016);
    EXPECT_FLOAT_EQ(scene->level, 10.f);  // the one extra application
    EXPECT_FALSE(writes_at(2032));
}

TEST_F(Interpolators, SmoothStepEasesBetweenItsValues)
{
    scene->interpolators.push_back(new cSmoothStep<float>(scene->find_var("level"), 1000, 2000, 0.f, 10.f));
    run(1250);
    EXPECT_FLOAT_EQ(scene->level, 1.5625f);
    run(1500);
    EXPECT_FLOAT_EQ(scene->level, 5.f);
    run(1750);
    EXPECT_FLOAT_EQ(scene->level, 8.4375f);
}

TEST_F(Interpolators, AZeroWidthWindowWritesFromThenTo)
{
    scene->interpolators.push_back(new cLerp<float>(scene->find_var("level"), 1000, 1000, 2.f, 7.f));
    run(990);
    EXPECT_FALSE(writes_at(999));
    run(1000);
    EXPECT_FLOAT_EQ(scene->level, 2.f);  // u = 0/0 counts as 0
    run(1016);
    EXPECT_FLOAT_EQ(scene->level, 7.f);  // u clamps to 1 past the window
    EXPECT_FALSE(writes_at(1032));
}

TEST_F(Interpolators, TheLastActiveOneWinsAndSetVarWritesItsValue)
{
    scene->interpolators.push_back(new cSetVar<int>(scene->find_var("mode"), 0, 3000, 1));
    scene->interpolators.push_back(new cSetVar<int>(scene->find_var("mode"), 1000, 2000, 2));
    scene->interpolators.push_back(new cSetVar<float>(scene->find_var("other"), 500, 600, 4.5f));
    run(500);
    EXPECT_EQ(scene->mode, 1);
    EXPECT_FLOAT_EQ(scene->other, 4.5f);
    run(1500);
    EXPECT_EQ(scene->mode, 2);
    run(2500);
    // The second has just left its window: it writes once more, after the
    // first, so 2 stays for this frame.
    EXPECT_EQ(scene->mode, 2);
    run(2600);
    EXPECT_EQ(scene->mode, 1);
}

TEST_F(Interpolators, AClockMovedWithoutASeekWritesTheWindowsItPassedAndJustLeft)
{
    scene->interpolators.push_back(new cLerp<float>(scene->find_var("level"), 1000, 2000, 0.f, 10.f));
    scene->interpolators.push_back(new cLerp<float>(scene->find_var("other"), 5000, 6000, 0.f, 10.f));
    run(1500);
    run(1600);
    EXPECT_FLOAT_EQ(scene->level, 6.f);
    // Back before the window: the lerp ran last frame, so it writes its
    // start value once.
    run(500);
    EXPECT_FLOAT_EQ(scene->level, 0.f);
    scene->other = 42.f;
    EXPECT_FALSE(writes_at(400));
    EXPECT_FLOAT_EQ(scene->other, 42.f);
    // On into the second window: the first, passed on the way, leaves its
    // end value.
    run(5500);
    EXPECT_FLOAT_EQ(scene->other, 5.f);
    EXPECT_FLOAT_EQ(scene->level, 10.f);
}

TEST_F(Interpolators, WindowsBetweenTwoFramesLeaveTheirEndsInTheOrderTheyClosed)
{
    // Three short windows on one value, listed out of time order, all
    // between two frames: the one that closed last wins, as at any rate.
    scene->interpolators.push_back(new cLerp<float>(scene->find_var("level"), 1300, 1350, 0.f, 3.f));
    scene->interpolators.push_back(new cLerp<float>(scene->find_var("level"), 1100, 1150, 0.f, 1.f));
    scene->interpolators.push_back(new cLerp<float>(scene->find_var("level"), 1200, 1250, 0.f, 2.f));
    scene->interpolators.push_back(new cSetVar<int>(scene->find_var("mode"), 1400, 1400, 5));
    run(1000);
    run(1500);
    EXPECT_FLOAT_EQ(scene->level, 3.f);
    EXPECT_EQ(scene->mode, 5);
    // Settled once: the next frame writes nothing.
    EXPECT_FALSE(writes_at(1750));
}

TEST_F(Interpolators, AWindowPassedBetweenFramesOvertakesTheOneThatWasPlaying)
{
    // A ramp up that was playing, then a quick ramp down that opened and
    // closed before the next frame: the value ends down, as it would have
    // at 60 frames a second.
    scene->interpolators.push_back(new cSmoothStep<float>(scene->find_var("level"), 2000, 5000, 0.f, 1.f));
    scene->interpolators.push_back(new cSmoothStep<float>(scene->find_var("level"), 5000, 5200, 1.f, 0.f));
    scene->interpolators.push_back(new cSetVar<float>(scene->find_var("other"), 4000, 4990, 8.f));
    run(4990);
    run(5240);
    EXPECT_FLOAT_EQ(scene->level, 0.f);
    // A window that closed alone still gets its trailing write.
    EXPECT_FLOAT_EQ(scene->other, 8.f);
    scene->level = 0.5f;
    EXPECT_FALSE(writes_at(5490));
}

TEST_F(Interpolators, ASeekRestoresAValueWhoseNoteInterpolatorsAreGone)
{
    // Notes give a raw value a new interpolator each; a scene may drop one
    // once it is done. A seek still finds the value's first state.
    float pulse = 0.25f;
    auto* first = new cLerp<float>(&pulse, 1000, 1250, 1.f, 0.f);
    scene->interpolators.push_back(first);
    run(1100);
    manager.seek(1200);
    scene->update();
    EXPECT_FLOAT_EQ(pulse, 0.2f);
    scene->interpolators.push_back(new cLerp<float>(&pulse, 3000, 3250, 1.f, 0.f));
    scene->interpolators.erase(scene->interpolators.begin());
    delete first;
    run(3100);
    manager.seek(500);
    scene->update();
    EXPECT_FLOAT_EQ(pulse, 0.25f);
}

TEST_F(Interpolators, TargetsOfTheWrongTypeOrMissingAreLeftAlone)
{
    scene->interpolators.push_back(new cLerp<float>(scene->find_var("nope"), 0, 100, 0.f, 1.f));
    scene->interpolators.push_back(new cLerp<float>(scene->find_var("mode"), 0, 100, 0.f, 1.f));
    scene->interpolators.push_back(new cSetVar<int>(scene->find_var("level"), 0, 100, 9));
    scene->interpolators.push_back(new cIntervalLerp(0, 100));
    run(50);
    EXPECT_EQ(scene->mode, -1);
    EXPECT_FLOAT_EQ(scene->level, -1.f);
    int t = 100;
    EXPECT_TRUE(scene->interpolators.back()->isActive(&t));
    t = 101;
    EXPECT_FALSE(scene->interpolators.back()->isActive(&t));
}

TEST_F(Interpolators, ARawFloatIsWrappedAndOwned)
{
    float value = 0.f;
    scene->interpolators.push_back(new cLerp<float>(&value, 0, 100, 0.f, 1.f));
    run(25);
    EXPECT_FLOAT_EQ(value, 0.25f);
    ASSERT_TRUE(scene->interpolators.back()->target);
    EXPECT_EQ(scene->interpolators.back()->target->getName(), "");
}

TEST_F(Interpolators, AfterASeekVariablesHoldWhatPlayingThereWouldHaveLeft)
{
    // A long lerp and a set that ends inside it: played through, the lerp
    // writes last; the int set ended long before.
    scene->interpolators.push_back(new cLerp<float>(scene->find_var("level"), 1000, 5000, 0.f, 10.f));
    scene->interpolators.push_back(new cSetVar<float>(scene->find_var("level"), 2000, 3000, 99.f));
    scene->interpolators.push_back(new cSetVar<int>(scene->find_var("mode"), 500, 600, 7));
    run(0);
    manager.seek(6000);
    scene->update();
    EXPECT_FLOAT_EQ(scene->level, 10.f);
    EXPECT_EQ(scene->mode, 7);
    manager.seek(2500);  // back into both windows: the later one in the list wins
    scene->update();
    EXPECT_FLOAT_EQ(scene->level, 99.f);
    manager.seek(800);  // before every window that writes level: its first value
    scene->update();
    EXPECT_FLOAT_EQ(scene->level, -1.f);
    EXPECT_EQ(scene->mode, 7);
    manager.seek(100);
    scene->update();
    EXPECT_EQ(scene->mode, -1);
    // Playing on from the seek: nothing written until the next window.
    EXPECT_FALSE(writes_at(116));
}

TEST_F(Interpolators, AFirstRunLateInTheShowSettlesThePastWindows)
{
    scene->interpolators.push_back(new cLerp<float>(scene->find_var("level"), 1000, 2000, 0.f, 10.f));
    scene->interpolators.push_back(new cSetVar<int>(scene->find_var("mode"), 2500, 2600, 4));
    run(2550);
    EXPECT_FLOAT_EQ(scene->level, 10.f);
    EXPECT_EQ(scene->mode, 4);
}
