// The same show at any frame rate: the timeline's state at a moment does
// not depend on how many frames led there. The show runs on the
// frame-stepped clock at 60, 15 and 4 frames a second, at steps whose
// frames land on either side of the timeline's two shortest windows (the
// star's distortion dipping to nothing over 55000-55200 ms, the head let go
// over 83000-83250 ms), and by a seek. The notes' reactions too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/timeline_show.h"

namespace {
struct Pace {
    double frameMs;
    int startMs;
};
const Pace SMOOTH{1000.0 / 60.0, 0};
// A 250 ms step cannot miss the 251 ms closed window of the head's
// release; a 333 ms one misses both.
const std::vector<Pace> SLOWER = {{1000.0 / 15.0, 0}, {250.0, 0}, {250.0, 213}, {250.0, 237}, {333.0, 20}, {333.0, 41}};
const std::vector<int> MOMENTS = {3500,  13000, 26300, 43000, 55100, 55300, 56000,
                                  59000, 70000, 78000, 83100, 83400, 85000, 92000};

std::string name(const Pace& p)
{
    return std::to_string(p.frameMs) + " ms from " + std::to_string(p.startMs);
}

std::map<std::string, std::string> state_at(const Pace& p, int t)
{
    TimelineShow show(true, p.frameMs, p.startMs);
    show.play_to(t);
    return show.values();
}
}  // namespace

TEST(FrameRateEquivalence, EveryPaceAndASeekLeaveTheTimelineInTheSameState)
{
    for (const Pace& p : SLOWER) {
        TimelineShow show(true, p.frameMs, p.startMs);
        show.play_to(90000);
        for (int f : show.frames) {
            if (p.startMs) {
                ASSERT_FALSE(f >= 55000 && f <= 55200) << name(p) << " lands in the dip";
            }
            if (p.frameMs > 251.0) {
                ASSERT_FALSE(f >= 83000 && f <= 83250) << name(p) << " lands in the release";
            }
        }
    }
    for (int t : MOMENTS) {
        const auto smooth = state_at(SMOOTH, t);
        for (const Pace& p : SLOWER)
            EXPECT_EQ(state_at(p, t), smooth) << "at " << t << " ms, " << name(p);
        TimelineShow jumped;
        jumped.play_to(0);
        jumped.manager.seek(t);
        jumped.comp->update();
        EXPECT_EQ(jumped.values(), smooth) << "seek to " << t << " ms";
    }
}

TEST(FrameRateEquivalence, NotesBetweenTwoSlowFramesTakeEffectInTheNext)
{
    // One reaction per scene, each note inside a 250 ms frame: the cube's
    // morph and the title's next image (track 2, both playing), the ball's
    // hit, the star's pulse (track 5), the head's flash (track 2, later).
    const std::vector<Note> notes = {{6010, 2, 60}, {20110, 2, 60}, {60110, 5, 36}, {70110, 2, 60}};
    auto reactions = [](TimelineShow& s) {
        return std::vector<float>{s.cube->morph, float(s.title->imageIndex), float(s.spike->hits), s.star->pulse,
                                  float(s.head->lastNote)};
    };
    for (const Note& n : notes) {
        // The frame after the note, and one after its 250 ms reaction window
        // opened and closed between two frames.
        for (int t : {n.ms - n.ms % 250 + 250, n.ms - n.ms % 250 + 500}) {
            TimelineShow slow(true, 250.0, 0, notes), smooth(true, SMOOTH.frameMs, 0, notes);
            slow.play_to(t);
            smooth.play_to(t);
            EXPECT_EQ(reactions(slow), reactions(smooth)) << "note at " << n.ms << ", frame at " << t;
        }
    }
    TimelineShow slow(true, 250.0, 0, notes);
    slow.play_to(6250);
    EXPECT_EQ(slow.title->imageIndex, 1);
    EXPECT_NEAR(slow.cube->morph, 0.286058f * 10.f / 250.f, 1e-6f);
    slow.play_to(60250);
    EXPECT_EQ(slow.spike->hits, 1);
    EXPECT_NEAR(slow.star->pulse, 1.f - 140.f / 250.f, 1e-6f);
    slow.play_to(70250);
    EXPECT_EQ(slow.head->lastNote, 70110);
}
