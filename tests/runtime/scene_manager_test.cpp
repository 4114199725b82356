// The scene manager's clock and timeline: the start jump, what fires when,
// pause and seek. Time comes from a manual source, so every case is exact.
#include <gtest/gtest.h>

#include <memory>

#include "platform/cManualTimeSource.h"
#include "runtime/cSceneManager.h"
#include "support/test_scene.h"
#include "timeline/cEventQueue_factory.h"
#include "timeline/iMidiEvent.h"

namespace {

class SceneManager : public testing::Test {
protected:
    SceneManager() : manager(&source) { source.set_ms(7000); }

    // Loads a marker script, registers a test scene and starts the show, as
    // the program does (start sleeps 100 ms, then the clock reads 0).
    void start(const std::string& script)
    {
        std::ostringstream warn;
        manager.set_event_queue(cEventQueue_factory::parse(script.data(), script.size(), warn));
        manager.init_clock();
        scene = manager.add_scene<cTestScene>();
        ASSERT_TRUE(manager.select_scene(0));
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        manager.start();
        startOut = testing::internal::GetCapturedStdout();
        startErr = testing::internal::GetCapturedStderr();
    }
    // One frame at the given counter time: advance and dispatch, returning
    // what went to standard error.
    std::string frame_at(int counterMs, bool* jumped = nullptr)
    {
        source.set_ms(counterMs);
        manager.advance_clock();
        testing::internal::CaptureStderr();
        bool j = manager.dispatch_events();
        if (jumped)
            *jumped = j;
        return testing::internal::GetCapturedStderr();
    }

    cManualTimeSource source;
    cSceneManager manager;
    cTestScene* scene = nullptr;
    std::string startOut, startErr;
};

// A frame without capturing output, for death tests.
void raw_frame(cManualTimeSource& source, cSceneManager& manager, int counterMs)
{
    source.set_ms(counterMs);
    manager.advance_clock();
    manager.dispatch_events();
}

const char* const LINE = "------------------------- demo start -------------------------\n";

}  // namespace

TEST_F(SceneManager, StartResetsTheClockToZeroAfterItsPause)
{
    start("s00 0:0:0:0\n");
    EXPECT_EQ(source.ms(), 7100);
    EXPECT_EQ(manager.demo_time(), 0);
    EXPECT_EQ(startErr, LINE);
    EXPECT_EQ(startOut, std::string("# fmod starting playback...\n") + LINE);
    source.advance_ms(40);
    manager.advance_clock();
    EXPECT_EQ(manager.demo_time(), 40);
}

TEST_F(SceneManager, TheFirstFrameJumpsToTheStartMarkerAndNothingBeforeItFires)
{
    start("snare 0:0:5:0\ns00 0:0:20:0\nlead 0:0:20:10\nquit 0:0:30:0\n");
    bool jumped = false;
    EXPECT_EQ(frame_at(7116, &jumped), "");
    EXPECT_TRUE(jumped);
    EXPECT_EQ(manager.demo_time(), 20000);
    EXPECT_EQ(scene->restarts, std::vector<int>{20000});
    // An event exactly at the demo time waits for the next frame.
    EXPECT_EQ(frame_at(7126, &jumped), "");
    EXPECT_FALSE(jumped);
    EXPECT_EQ(frame_at(7127), "unhandled demo_event: 34\n");
    EXPECT_EQ(frame_at(7200), "");
}

TEST_F(SceneManager, MidiAndBeatEventsGoToTheSceneInQueueOrder)
{
    start("s00 0:0:0:0\ns05 0:0:0:500\ns21 0:0:0:500\ns100 0:0:0:600\n");
    manager.event_queue()->append(new cMETrigger(500, iMidiEvent::KIND_NOTE_ON, 2, 36, 100));
    manager.event_queue()->append(new cEvent(DE_MIDI_BEAT, 500));
    manager.event_queue()->append(new cEvent(DE_MIDI_BEAT, 1000));
    manager.event_queue()->sort();
    frame_at(7100);
    EXPECT_EQ(frame_at(7701), "unhandled demo_event: 21\nunhandled demo_event: 22\n");
    std::vector<std::pair<int, int>> want = {{DE_MIDI, 500}, {DE_MIDI_BEAT, 500}};
    EXPECT_EQ(scene->events, want);
}

TEST_F(SceneManager, PauseFreezesDemoTimeAndResumeContinuesFromIt)
{
    start("s00 0:0:0:0\n");
    frame_at(7100);
    frame_at(8100);
    EXPECT_EQ(manager.demo_time(), 1000);
    manager.toggle_pause();
    EXPECT_FALSE(manager.sound().is_playing());
    frame_at(9100);
    frame_at(11100);
    EXPECT_EQ(manager.demo_time(), 1000);
    manager.toggle_pause();
    EXPECT_TRUE(manager.sound().is_playing());
    EXPECT_EQ(manager.demo_time(), 1000);
    EXPECT_EQ(manager.clock().pausedTotal, 3000);
    frame_at(11150);
    EXPECT_EQ(manager.demo_time(), 1050);
}

TEST_F(SceneManager, SeekingBackReArmsOnlyTheEventsAfterTheNewTime)
{
    start("s00 0:0:0:0\nsnare 0:0:5:0\nlead 0:0:10:0\nmelody 0:0:12:0\n");
    frame_at(7100);
    EXPECT_EQ(frame_at(20100), "unhandled demo_event: 26\nunhandled demo_event: 34\nunhandled demo_event: 33\n");
    manager.seek(10000);
    EXPECT_EQ(manager.demo_time(), 10000);
    EXPECT_EQ(frame_at(20100), "");
    EXPECT_EQ(frame_at(22101), "unhandled demo_event: 33\n");
}

TEST_F(SceneManager, SeekWhilePausedKeepsTheClockStill)
{
    start("s00 0:0:0:0\n");
    frame_at(7100);
    manager.toggle_pause();
    source.advance_ms(5000);
    manager.seek(30000);
    EXPECT_EQ(manager.demo_time(), 30000);
    frame_at(20000);
    EXPECT_EQ(manager.demo_time(), 30000);
    manager.toggle_pause();
    source.advance_ms(10);
    manager.advance_clock();
    EXPECT_EQ(manager.demo_time(), 30010);
}

TEST_F(SceneManager, TheFirstOfTwoScenesWithOneNameKeepsIt)
{
    manager.init_clock();
    cTestScene* first = manager.add_scene<cTestScene>();
    cOtherTestScene* second = manager.add_scene<cOtherTestScene>();
    EXPECT_EQ(manager.find_scene("test"), first);
    EXPECT_EQ(manager.find_scene<cOtherTestScene>(), second);
    EXPECT_EQ(manager.find_scene<cTestScene>(), first);
    EXPECT_EQ(manager.find_scene("nope"), nullptr);
    EXPECT_FALSE(manager.select_scene(2));
}

TEST_F(SceneManager, GuiToggleForcesExactlyOneRebuild)
{
    EXPECT_FALSE(manager.gui_toggle_changed());
    manager.flip_gui_toggle();
    EXPECT_TRUE(manager.gui_toggle_changed());
    EXPECT_FALSE(manager.gui_toggle_changed());
}

TEST_F(SceneManager, DrawingWithoutASceneWarns)
{
    testing::internal::CaptureStderr();
    manager.draw_current();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "# warning, no scene selected in cSceneManager::draw_current\n");
}

using SceneManagerDeathTest = SceneManager;

TEST_F(SceneManagerDeathTest, NoStartMarkerEndsWithExitCode1)
{
    start("s01 0:0:0:0\nquit 0:0:1:0\n");
    EXPECT_EXIT(raw_frame(source, manager, 7200), testing::ExitedWithCode(1),
                "## DEBUG-ERROR in \\.\\.\\\\src\\\\cSceneManager line 246, event not found! Exiting\\.\\.\\.");
}

TEST_F(SceneManagerDeathTest, TheQuitMarkerEndsWithExitCode0)
{
    start("s00 0:0:0:0\nquit 0:0:1:0\n");
    frame_at(7100);
    EXPECT_EXIT(raw_frame(source, manager, 8101), testing::ExitedWithCode(0), "");
}

TEST_F(SceneManagerDeathTest, NoMarkerScriptStopsTheShow)
{
    // Run from a directory without ../data/script/markers.txt.
    EXPECT_EXIT(
        {
            if (chdir("/") != 0)
                std::exit(3);
            manager.setup(false);
        },
        testing::ExitedWithCode(1), "## ERROR: no marker script");
}
