// The MIDI test scene: bars per track lit by notes, beat flash, panel rows.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "gui/cGuiTxtLabel.h"
#include "gui/cGuiVarList.h"
#include "platform/cManualTimeSource.h"
#include "scenes/cSceneMidiTest.h"
#include "support/gl_fixture.h"
#include "support/shader_setup.h"
#include "timeline/cEventQueue.h"
#include "timeline/iMidiEvent.h"

namespace {
class MidiScene : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        queue.midi_track_names() = {"drums", "bass"};
        queue.midi_controllers() = {7, 10};
        clock.source = &time;
        clock.frequency = time.frequency();
        scene.queue = &queue;
        scene.init();
        scene.restart();
    }
    void TearDown() override
    {
        glClearColor(0.f, 0.f, 0.f, 0.f);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        GLTest::TearDown();
    }
    void draw_at(int ms)
    {
        time.set_ms(ms);
        clock.advance();
        glClear(GL_DEPTH_BUFFER_BIT);
        scene.draw();
    }
    // Track 0 is the top half of the window, track 1 the bottom half.
    static Rgba top() { return read_pixel(640, 540); }
    static Rgba bottom() { return read_pixel(640, 180); }

    cManualTimeSource time;
    DemoClock clock;
    cEventQueue queue;
    cSceneMidiTest scene{&clock};
};
}  // namespace

TEST_F(MidiScene, NoteLightsItsTrackUntilTheNoteOffHasBeenDrawn)
{
    cMETrigger on(100, iMidiEvent::KIND_NOTE_ON, 0, 100, 90);
    cMETrigger off(110, iMidiEvent::KIND_NOTE_OFF, 0, 100, 0);
    scene.handleEvent(&on);
    scene.handleEvent(&off);
    draw_at(120);
    EXPECT_TRUE(near_rgba(top(), {200, 200, 255, 255}, 2)) << "drawn once";
    EXPECT_TRUE(near_rgba(bottom(), {26, 26, 26, 255}, 2));
    draw_at(140);
    EXPECT_TRUE(near_rgba(top(), {26, 26, 26, 255}, 2)) << "then cleared";
}

TEST_F(MidiScene, TheBarsLeaveTheMatricesAndSwitchesAsTheyFoundThem)
{
    // Whatever draws next (the panel, a scene) finds its own camera and
    // switches, not the bars' window units and depth test.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1.0, 1.0, -1.0, 1.0, 1.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_BLEND);
    const GLStateSnapshot before = snapshot_gl_state();
    cMETrigger on(100, iMidiEvent::KIND_NOTE_ON, 0, 100, 90);
    scene.handleEvent(&on);
    draw_at(120);
    EXPECT_TRUE(near_rgba(top(), {200, 200, 255, 255}, 2)) << "drawn";
    EXPECT_TRUE(snapshot_gl_state() == before) << snapshot_gl_state().describe() << "\n" << before.describe();
    glDisable(GL_BLEND);
}

TEST_F(MidiScene, TheLaterOfTwoNotesSetsTheBrightness)
{
    cMETrigger a(100, iMidiEvent::KIND_NOTE_ON, 1, 50, 90);
    cMETrigger b(120, iMidiEvent::KIND_NOTE_ON, 1, 127, 90);
    scene.handleEvent(&a);
    scene.handleEvent(&b);
    draw_at(130);
    draw_at(150);
    EXPECT_TRUE(near_rgba(bottom(), {254, 254, 255, 255}, 2));
    EXPECT_EQ(scene.noteCounts[1], 2u);
}

TEST_F(MidiScene, BeatsFlashTheBackgroundRed)
{
    EXPECT_FLOAT_EQ(cSceneMidiTest::beat_flash(0), 0.2f);
    EXPECT_FLOAT_EQ(cSceneMidiTest::beat_flash(150), 0.1f);
    EXPECT_FLOAT_EQ(cSceneMidiTest::beat_flash(300), 0.f);
    EXPECT_FLOAT_EQ(cSceneMidiTest::beat_flash(5000), 0.f);
    cEvent beat(DE_MIDI_BEAT, 1000);
    scene.handleEvent(&beat);
    draw_at(1000);
    EXPECT_TRUE(near_rgba(top(), {77, 26, 26, 255}, 2));
}

TEST_F(MidiScene, PanelListsNotesPerTrackAndControllers)
{
    cMETrigger n1(0, iMidiEvent::KIND_NOTE_ON, 0, 60, 90);
    cMETrigger n2(0, iMidiEvent::KIND_NOTE_ON, 0, 64, 90);
    cMETrigger n3(0, iMidiEvent::KIND_NOTE_ON, 0, 60, 90);
    cMECtrlChange cc(0, 0, 7, 99);
    cMETrigger stray(0, iMidiEvent::KIND_NOTE_ON, 5, 60, 90);  // no such track
    for (cEvent* e : std::initializer_list<cEvent*>{&n1, &n2, &n3, &cc, &stray})
        scene.handleEvent(e);
    EXPECT_TRUE(scene.update());
    EXPECT_EQ(scene.labels[0], "3  60:2 64:1");
    EXPECT_EQ(scene.labels[1], "0 ");
    EXPECT_EQ(scene.controllers[7], 99);

    cGuiVarList list;
    scene.fillGui(list);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list.rows()[0].first->getName(), "0drums");
    EXPECT_EQ(list.rows()[0].first->toString(), "3  60:2 64:1");
    EXPECT_EQ(list.rows()[1].first->getName(), "1bass");
    EXPECT_EQ(list.rows()[2].first->getName(), "ctrl7");
    EXPECT_EQ(list.rows()[2].first->toString(), "99");
    EXPECT_EQ(list.rows()[3].first->getName(), "ctrl10");
    EXPECT_FALSE(scene.render(0));
    EXPECT_EQ(scene.getName(), "miditest");
}

TEST_F(MidiScene, RestartRebuildsInsteadOfGrowing)
{
    scene.restart();
    scene.restart();
    EXPECT_EQ(scene.labels.size(), 2u);
    EXPECT_EQ(scene.histograms.size(), 2u);
}
