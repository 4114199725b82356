// The same show at any frame rate: the timeline's state at a moment does
// not depend on how many frames led there. The show runs on the
// frame-stepped clock at 60, 15 and 4 frames a second, at steps that jump
// clean over the timeline's shortest windows, and by a seek; every variable
// the timeline drives must come out the same. The MIDI reactions of the
// layer scenes are held to the same rule.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "runtime/cFrameStepTimeSource.h"
#include "runtime/cSceneManager.h"
#include "scenes/cSceneBlacknWhite.h"
#include "scenes/cSceneComposition.h"
#include "scenes/cSceneCredits.h"
#include "scenes/cSceneMandalaCube.h"
#include "scenes/cSceneMidiTest.h"
#include "scenes/cSceneSmurf.h"
#include "scenes/cSceneSpacesphere.h"
#include "scenes/cSceneSpike.h"
#include "scenes/cSceneTitle.h"
#include "timeline/cEventQueue.h"
#include "timeline/iMidiEvent.h"
#include "tweak/iVar.h"

namespace {
// The timeline's two shortest windows: the star's distortion dips back to
// nothing, and the head's forced presence lets go before the credits.
constexpr int NOISE_DIP_START = 55000, NOISE_DIP_END = 55200;
constexpr int HEAD_RELEASE_START = 83000, HEAD_RELEASE_END = 83250;

struct Note {
    int ms, track, key;
};

// How a run reaches its moments: the frame step and where the show starts.
struct Pace {
    double frameMs;
    int startMs;
    std::string name() const { return std::to_string(frameMs) + " ms from " + std::to_string(startMs); }
};

// The nine scenes as the show registers them, on the frame-stepped clock,
// with a start marker and the given notes on the timeline; the timeline is
// built without loading any picture.
class SteppedShow {
public:
    SteppedShow(const Pace& pace, const std::vector<Note>& notes = {})
        : source(int(pace.frameMs * 1000.0 + 0.5)), manager(&source)
    {
        manager.init_clock();
        auto* queue = new cEventQueue();
        queue->append(new cEvent(DE_SCENE_00, 0));
        for (const Note& n : notes)
            queue->append(new cMETrigger(n.ms, iMidiEvent::KIND_NOTE_ON, n.track, n.key, 100));
        queue->sort();
        manager.set_event_queue(queue);
        comp = manager.add_scene<cSceneComposition>();
        comp->manager = &manager;
        manager.add_scene<cSceneMidiTest>();
        cube = manager.add_scene<cSceneMandalaCube>();
        spike = manager.add_scene<cSceneSpike>();
        star = manager.add_scene<cSceneBlacknWhite>();
        manager.add_scene<cSceneSpacesphere>()->queue = queue;
        title = manager.add_scene<cSceneTitle>();
        head = manager.add_scene<cSceneSmurf>();
        manager.add_scene<cSceneCredits>();
        spike->queue = star->queue = title->queue = queue;
        comp->build_timeline();
        manager.select_scene(0);
        if (pace.startMs > 0)
            manager.start_at(pace.startMs, false);
    }

    // One frame as the main loop runs it: clock, events, update, draw.
    void frame()
    {
        manager.advance_clock();
        manager.dispatch_events();
        comp->update();
        comp->mark_drawn(manager.demo_time());
        frames.push_back(manager.demo_time());
        source.frame_presented();
    }
    // Presents frames at the run's pace while they come before t, then one
    // frame at exactly t (a frame that happens to come late).
    void play_to(int t)
    {
        if (frames.empty())
            frame();
        while (next_frame_time() < t)
            frame();
        if (frames.back() == t)
            return;
        source.set_ms(int64_t(manager.clock().start) + manager.clock().pausedTotal + t);
        frame();
    }
    int next_frame_time()
    {
        return int(source.ms()) - manager.clock().start - manager.clock().pausedTotal;
    }
    bool some_frame_within(int from, int to) const
    {
        for (int f : frames)
            if (from <= f && f <= to)
                return true;
        return false;
    }

    // Every variable of every layer scene, every layer's opacity and the
    // active layers; not the cube's spin angle, which the cube turns by
    // itself at every frame it plays, whatever the timeline says.
    std::map<std::string, std::string> timeline_state()
    {
        std::map<std::string, std::string> v;
        for (auto& l : comp->layers) {
            v["opacity " + std::to_string(l.first)] = std::to_string(l.second.opacity);
            for (const auto& row : l.second.scene->getGuiNodes())
                v[l.second.scene->getName() + " " + row.first->getName()] = row.first->toString();
        }
        v.erase("mandalacube rot");
        std::string layers;
        for (int n : comp->active_layers(manager.demo_time()))
            layers += std::to_string(n) + " ";
        v["active layers"] = layers;
        return v;
    }
    // What the notes leave in the scenes that react to them.
    std::map<std::string, float> reactions() const
    {
        return {{"cube morph", cube->morph},        {"title image", float(title->imageIndex)},
                {"spike hits", float(spike->hits)}, {"star pulse", star->pulse},
                {"head last note", float(head->lastNote)}};
    }

    cFrameStepTimeSource source;
    cSceneManager manager;
    cSceneComposition* comp;
    cSceneMandalaCube* cube;
    cSceneSpike* spike;
    cSceneBlacknWhite* star;
    cSceneTitle* title;
    cSceneSmurf* head;
    std::vector<int> frames;  // demo time of every frame presented
};

// The pace every other is compared with.
const Pace SMOOTH{1000.0 / 60.0, 0};
// Slow renderers, and steps whose frames land on either side of the short
// windows without touching them (a 250 ms step cannot miss the 251 ms
// closed window of the head's release, a 333 ms one misses both).
const std::vector<Pace> SLOWER = {{1000.0 / 15.0, 0}, {250.0, 0}, {333.0, 20},
                                  {333.0, 41},        {250.0, 213}, {250.0, 237}};

// Moments inside and after the short windows, in the middle of fades and
// in quiet stretches.
const std::vector<int> MOMENTS = {3500,  13000, 26300, 43000, 55100, 55300, 56000,
                                  59000, 70000, 78000, 83100, 83400, 85000, 92000};

// The entries in which two states differ, one "name: a / b" line each.
std::string differences(const std::map<std::string, std::string>& a, const std::map<std::string, std::string>& b)
{
    std::string text;
    for (const auto& kv : a) {
        const auto other = b.find(kv.first);
        const std::string theirs = other == b.end() ? "(none)" : other->second;
        if (theirs != kv.second)
            text += kv.first + ": " + kv.second + " / " + theirs + "\n";
    }
    for (const auto& kv : b)
        if (!a.count(kv.first))
            text += kv.first + ": (none) / " + kv.second + "\n";
    return text;
}

std::map<std::string, std::string> state_at(const Pace& pace, int t)
{
    SteppedShow show(pace);
    show.play_to(t);
    return show.timeline_state();
}
}  // namespace

TEST(FrameRateEquivalence, TheSlowerPacesReallySkipTheShortWindows)
{
    for (const Pace& pace : SLOWER) {
        if (pace.startMs == 0)
            continue;
        SteppedShow show(pace);
        show.play_to(90000);
        EXPECT_FALSE(show.some_frame_within(NOISE_DIP_START, NOISE_DIP_END)) << pace.name();
        if (pace.frameMs > HEAD_RELEASE_END - HEAD_RELEASE_START + 1) {
            EXPECT_FALSE(show.some_frame_within(HEAD_RELEASE_START, HEAD_RELEASE_END)) << pace.name();
        }
    }
}

TEST(FrameRateEquivalence, EveryPaceLeavesTheTimelineInTheSameState)
{
    for (int t : MOMENTS) {
        const auto smooth = state_at(SMOOTH, t);
        for (const Pace& pace : SLOWER)
            EXPECT_EQ(differences(state_at(pace, t), smooth), "") << "at " << t << " ms, " << pace.name();
    }
}

TEST(FrameRateEquivalence, ASeekLeavesTheStateThatPlayingLeaves)
{
    for (int t : MOMENTS) {
        SteppedShow jumped(SMOOTH);
        jumped.play_to(0);
        jumped.manager.seek(t);
        jumped.comp->update();
        EXPECT_EQ(differences(jumped.timeline_state(), state_at(SMOOTH, t)), "") << "at " << t << " ms";
    }
}

TEST(FrameRateEquivalence, TheStarsDistortionAndTheForcedHeadEndAtEveryPace)
{
    for (const Pace& pace : SLOWER) {
        SteppedShow show(pace);
        show.play_to(59000);
        EXPECT_FLOAT_EQ(show.star->noise_t, 0.f) << pace.name();
        show.play_to(85000);
        EXPECT_FLOAT_EQ(show.head->forceheadscale, 0.f) << pace.name();
    }
}

TEST(FrameRateEquivalence, NotesBetweenTwoSlowFramesTakeEffectInTheNext)
{
    // One reaction per scene, each note in the middle of a 250 ms frame:
    // the cube's morph kick and the title's next image (track 2, both
    // playing), the ball's hit, the star's pulse (track 5) and the head's
    // flash (track 2 again, later).
    const std::vector<Note> notes = {
        {6010, 2, 60}, {20110, 2, 60}, {60110, 5, 36}, {70110, 2, 60}};
    const Pace slow{250.0, 0};
    for (const Note& n : notes) {
        // The frame right after the note, and one after its reaction's
        // 250 ms window has closed between two frames.
        for (int t : {n.ms - n.ms % 250 + 250, n.ms - n.ms % 250 + 500}) {
            SteppedShow played(slow, notes), smooth(SMOOTH, notes);
            played.play_to(t);
            smooth.play_to(t);
            ASSERT_EQ(played.frames.size() >= 2 ? played.frames[played.frames.size() - 2] : -1,
                      t - 250);  // no frame between the one before and t
            EXPECT_EQ(played.reactions(), smooth.reactions()) << "note at " << n.ms << ", frame at " << t;
        }
    }
    SteppedShow played(slow, notes);
    played.play_to(6250);
    EXPECT_EQ(played.title->imageIndex, 1);
    EXPECT_NEAR(played.cube->morph, 0.286058f * (1.f - 240.f / 250.f), 1e-6f);
    played.play_to(20250);
    EXPECT_EQ(played.spike->hits, 1);
    played.play_to(60250);
    EXPECT_NEAR(played.star->pulse, 1.f - 140.f / 250.f, 1e-6f);
    played.play_to(70250);
    EXPECT_EQ(played.head->lastNote, 70110);
}
