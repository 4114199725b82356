// The demo object: one per process, and the main loop's pass over a frame.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "demo/cDemo.h"
#include "demo/cMorvane.h"
#include "platform/cInputState.h"
#include "platform/cManualTimeSource.h"
#include "runtime/cSceneManager.h"
#include "support/baked_data.h"
#include "support/gl_fixture.h"
#include "timeline/cEventQueue.h"
#include "timeline/iMidiEvent.h"

namespace {
struct ScriptedScene : cScene {
    using cScene::cScene;
    std::string getName() override { return "scripted"; }
    void init() override {}
    void restart() override { ++restarts; }
    void reservedHook() override {}
    void draw() override
    {
        ++draws;
        glClearColor(0.f, 1.f, 0.f, 1.f);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0.f, 0.f, 0.f, 0.f);
    }
    void handleEvent(cEvent* e) override { events.push_back(e->time); }
    bool update() override
    {
        ++updates;
        return wantRebuild;
    }
    void fillGui(cGuiVarList& list) override
    {
        ++fills;
        list.addFloat("value", &value, 0.f, 1.f);
    }
    cTmpRT render(int) override { return {}; }
    int restarts = 0, draws = 0, updates = 0, fills = 0;
    bool wantRebuild = false;
    float value = 0.5f;
    std::vector<int> events;
};

struct BareDemo : cDemo {
    void run(bool) override {}
};
}  // namespace

TEST(DemoObject, OnlyOneDemoPerProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto second_throws = [] {
        cMorvane first;
        try {
            cMorvane second;
        } catch (const std::exception& e) {
            _exit(std::strcmp(e.what(), "only a single demo allowed at any one time...") == 0 ? 0 : 2);
        }
        _exit(1);
    };
    EXPECT_EXIT(second_throws(), testing::ExitedWithCode(0), "");
}

using DemoLoop = GLTest;

TEST_F(DemoLoop, FramesJumpToTheStartUpdateRebuildAndDraw)
{
    use_baked_textures();  // the panel may show if X puts the pointer in the window
    cManualTimeSource time(1000);
    cSceneManager* sm = cSceneManager::get();
    sm->use_time_source(&time);
    auto* queue = new cEventQueue();
    queue->append(new cEvent(DE_SCENE_00, 2000));
    queue->append(new cMETrigger(2010, iMidiEvent::KIND_NOTE_ON, 0, 60, 90));
    queue->append(new cMETrigger(2040, iMidiEvent::KIND_NOTE_OFF, 0, 60, 0));
    sm->set_event_queue(queue);
    sm->init_clock();
    ScriptedScene* scene = sm->add_scene<ScriptedScene>();
    ASSERT_TRUE(sm->select_scene(0));
    BareDemo demo;
    demo.varList.init();
    demo.varList.setSize(0.9f, 0.65f);

    demo.frame();  // the start jump: no update, but a panel rebuild
    EXPECT_EQ(sm->demo_time(), 2000);
    EXPECT_EQ(scene->restarts, 1);
    EXPECT_EQ(scene->updates, 0);
    EXPECT_EQ(scene->fills, 1);
    EXPECT_EQ(scene->draws, 1);
    EXPECT_EQ(demo.sceneLabel.text, "scripted");
    EXPECT_EQ(demo.varList.size(), 1u);

    time.advance_ms(10);
    demo.frame();  // the note at 2010 is not yet due at 2010
    EXPECT_TRUE(scene->events.empty());
    EXPECT_EQ(scene->updates, 1);
    EXPECT_EQ(scene->fills, 1);

    time.advance_ms(40);
    demo.frame();
    EXPECT_EQ(scene->events, std::vector<int>({2010, 2040}));

    // t forces exactly one rebuild although update asks for none.
    demo.flip_gui_toggle();
    demo.frame();
    demo.frame();
    EXPECT_EQ(scene->fills, 2);
    scene->wantRebuild = true;
    demo.frame();
    EXPECT_EQ(scene->fills, 3);

    // Pausing holds demo time; it goes on from there afterwards.
    const int at = sm->demo_time();
    demo.toggle_pause();
    time.advance_ms(3000);
    demo.frame();
    EXPECT_EQ(sm->demo_time(), at);
    demo.toggle_pause();
    time.advance_ms(20);
    demo.frame();
    EXPECT_EQ(sm->demo_time(), at + 20);

    // Space dumps the time code, the scene and the panel rows.
    testing::internal::CaptureStderr();
    demo.dump_time_code();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "-\n" + std::string("00:00:02,070 - scripted\nvalue 0.5\n"));

    // m toggles between silence and full volume.
    EXPECT_FALSE(demo_muted());
    demo.toggle_mute();
    EXPECT_TRUE(demo_muted());
    demo.toggle_mute();
    EXPECT_FALSE(demo_muted());

    // Dragging on the panel reaches the scene's variable.
    float x, y;
    demo.varList.draw();
    demo.varList.rows()[0].second->getPosition(x, y);
    input_state().reset();
    demo.pointer(x + 0.01f, y + 0.01f);  // hover grabs the slider
    input_state().buttons[1] = 1;
    demo.pointer(x + 0.01f, y + 0.01f);  // and so does the press
    demo.pointer(x + 5.f, y + 0.01f);  // far right: the maximum
    input_state().buttons[1] = 0;
    EXPECT_EQ(scene->value, 1.f);

    sm->use_time_source(nullptr);
    cSceneManager::destroy();
}

TEST_F(DemoLoop, AKeyPressedBeforeTheFirstFrameWaitsForTheStartJump)
{
    use_baked_textures();
    cManualTimeSource time(1000);
    cSceneManager* sm = cSceneManager::get();
    sm->use_time_source(&time);
    auto* queue = new cEventQueue();
    queue->append(new cEvent(DE_SCENE_00, 0));
    queue->append(new cEvent(DE_SCENE_01, 2000));
    queue->append(new cEvent(DE_SCENE_02, 4000));
    sm->set_event_queue(queue);
    sm->init_clock();
    sm->start_at(2000, true);  // as --loop 2 ... places it
    sm->add_scene<ScriptedScene>();
    ASSERT_TRUE(sm->select_scene(0));
    BareDemo demo;
    demo.varList.init();

    // '.' pressed while the loading screen was up: the show starts where it
    // was placed and only then steps to the marker after it (before, the
    // jump went from time 0 to s01 and the start jump then found no start
    // and ended the show).
    input_state().reset();
    input_state().heldKeys.insert('.');
    testing::internal::CaptureStderr();
    demo.frame();
    EXPECT_EQ(sm->demo_time(), 2000);
    time.advance_ms(10);
    demo.frame();
    EXPECT_EQ(sm->demo_time(), 4000);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("at s02 00:00:04,000"), std::string::npos);

    input_state().reset();
    sm->use_time_source(nullptr);
    cSceneManager::destroy();
}
