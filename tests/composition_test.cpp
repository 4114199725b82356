// The composition's timeline, without pictures: which layers play when,
// their fades, the active-layer text, the scrub, missing scene classes and
// variables, and variables after a seek matching those after playing.
#include <gtest/gtest.h>

#include <string>

#include "support/test_scene.h"
#include "support/timeline_show.h"

namespace {
using Show = TimelineShow;

std::string active(Show& s, int t)
{
    std::string text;
    for (int n : s.comp->active_layers(t))
        text += std::to_string(n) + " ";
    return text;
}
}  // namespace

TEST(Composition, TheTimelineHasItsLayersWindowsModesAndFades)
{
    Show s;
    ASSERT_EQ(s.comp->layers.size(), 7u);
    // 26 variable changes, a fade-in for every layer and a fade-out for six.
    EXPECT_EQ(s.comp->interpolators.size(), 26u + 7u + 6u);
    EXPECT_EQ(active(s, 99), "");
    EXPECT_EQ(active(s, 100), "20 ");
    EXPECT_EQ(active(s, 12800), "20 25 ");
    EXPECT_EQ(active(s, 12801), "20 ");
    EXPECT_EQ(active(s, 42000), "20 40 45 ");
    EXPECT_EQ(active(s, 44000), "20 45 50 ");
    EXPECT_EQ(s.comp->layers[50].mode, 3);
    EXPECT_EQ(s.comp->layers[25].mode, 5);
    EXPECT_EQ(active(s, 93000), "60 70 ");
    EXPECT_EQ(active(s, 93001), "");

    s.frame(100);
    EXPECT_FLOAT_EQ(s.comp->layers[20].opacity, 0.f);
    s.frame(1100);
    EXPECT_FLOAT_EQ(s.comp->layers[20].opacity, 0.5f);
    // The title has no fade-out: fully there to its last millisecond.
    for (int t = 1140; t <= 12800; t += 40)
        s.frame(t);
    EXPECT_FLOAT_EQ(s.comp->layers[25].opacity, 1.f);
}

TEST(Composition, TheNameAndThePanelFollowTheActiveLayers)
{
    Show s;
    EXPECT_FALSE(s.frame(0));  // nothing active, as at the start
    EXPECT_TRUE(s.frame(100));
    EXPECT_EQ(s.comp->getName(), "scenecomp:  - mandalacube");
    EXPECT_FALSE(s.frame(140));
    EXPECT_FALSE(s.frame(2960));
    EXPECT_TRUE(s.frame(3000));
    EXPECT_EQ(s.comp->getName(), "scenecomp:  - mandalacube - title");
    EXPECT_FALSE(s.frame(3040));
}

TEST(Composition, OnlyAMovedSliderSeeksAndOnlyBeyond2500Ms)
{
    Show s;
    s.frame(10000);
    s.comp->lastDrawnTime = 12000;  // the slider dragged by 2 s
    s.frame(10040);
    EXPECT_EQ(s.manager.demo_time(), 10040);
    s.comp->lastDrawnTime = 20000;
    s.frame(10080);
    EXPECT_EQ(s.manager.demo_time(), 20000);
    EXPECT_EQ(s.comp->lastDrawnTime, 20000);
    // A seek made elsewhere stands.
    s.manager.seek(40000);
    s.comp->update();
    EXPECT_EQ(s.manager.demo_time(), 40000);
}

TEST(Composition, AMissingSceneClassLeavesItsLayerOutWithOneWarning)
{
    testing::internal::CaptureStderr();
    Show s(false);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "## WARNING: scene class cSceneTitle is not registered: its layer is left out\n");
    EXPECT_EQ(s.comp->layers.size(), 6u);
    EXPECT_EQ(active(s, 5000), "20 ");
    s.frame(5000);
}

TEST(Composition, EveryVariableTheShowsTimelineNamesIsFound)
{
    Show s;
    std::string problems;
    for (const std::string& p : s.comp->timeline_problems())
        problems += p + "\n";
    EXPECT_EQ(problems, "");
}

TEST(Composition, AChangeOfAVariableItsSceneLacksIsNamedAndLeftOut)
{
    DemoClock clock;
    cSceneComposition comp(&clock);
    cTestScene scene(&clock, "spikeball");
    comp.lerp(&scene, "levle", 1000, 2000, 0.f, 1.f);    // a misspelt name
    comp.set_int(&scene, "level", 2500, 3000, 4);        // a float, set as an int
    comp.smooth(&scene, "level", 3000, 4000, 0.f, 1.f);  // found
    comp.set_int(&scene, "mode", 4000, 4000, 2);         // found
    comp.set_float(nullptr, "level", 0, 10, 1.f);        // no scene: its layer's warning says so
    const std::vector<std::string> expected = {
        "scene \"spikeball\" has no float variable \"levle\": the change at 00:00:01,000 is left out",
        "scene \"spikeball\" has no int variable \"level\": the change at 00:00:02,500 is left out",
    };
    EXPECT_EQ(comp.timeline_problems(), expected);
    ASSERT_EQ(comp.interpolators.size(), 2u);
    EXPECT_EQ(comp.interpolators[0]->start, 3000);
    EXPECT_EQ(comp.interpolators[1]->start, 4000);
}

TEST(Composition, SeekingGivesTheValuesThatPlayingThereLeaves)
{
    Show played;
    for (int t = 0, k = 0; t <= 80000; t += 40, ++k) {
        played.frame(t);
        const int checkpoints[] = {20000, 30000, 50000, 80000};
        for (int c : checkpoints) {
            if (t != c)
                continue;
            Show jumped;
            jumped.frame(0);
            jumped.manager.seek(c);
            jumped.comp->update();
            EXPECT_EQ(jumped.values(), played.values()) << "at " << c;
        }
    }
    // Scrubbing back shows the earlier values again.
    Show scrubbed;
    scrubbed.frame(0);
    scrubbed.manager.seek(80000);
    scrubbed.comp->update();
    scrubbed.manager.seek(20000);
    scrubbed.comp->update();
    Show at20;
    for (int t = 0; t <= 20000; t += 40)
        at20.frame(t);
    EXPECT_EQ(scrubbed.values(), at20.values());
}
