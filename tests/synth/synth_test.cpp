// The synthesizer: notes start on their exact sample, a render is the same
// every time, the lead's filter follows its controller, and the show's
// score stays inside what the MIDI file and the scenes expect.
#include <gtest/gtest.h>

#include <cmath>

#include "synth/synth.h"

namespace {

Score empty_score()
{
    Score s;
    s.name = "t";
    s.bpm = 120.0;
    s.lengthBeats = 4.0;
    s.tracks = {"t", "1", "2", "3", "4", "5", "6", "7"};
    return s;
}

double energy(const StereoBuffer& b, size_t from, size_t to)
{
    double e = 0.0;
    for (size_t i = from; i < to; ++i)
        e += double(b.left[i]) * b.left[i] + double(b.right[i]) * b.right[i];
    return e;
}

TEST(Synth, DrumsStartOnTheExactSampleOfTheirBeat)
{
    for (int track : {2, 3, 5, 7}) {
        Score s = empty_score();
        const int key = track == 5 ? 42 : (track == 2 ? 38 : 36);
        s.notes.push_back({track, 1.5, 0.1, key, 120});
        const StereoBuffer b = render_score(s, 44100);
        const size_t at = beat_sample(s, 1.5, 44100);
        ASSERT_EQ(at, 33075u);
        // Nothing before the note, the note within a millisecond of it.
        EXPECT_LT(energy(b, 0, at), 1e-9) << "track " << track;
        EXPECT_GT(energy(b, at, at + 44), 1e-4) << "track " << track << " sounds within 1 ms";
    }
}

TEST(Synth, RenderingIsRepeatable)
{
    Score s = make_gloam_score();
    s.lengthBeats = 12.0;  // the opening is enough
    const StereoBuffer a = render_score(s, 44100);
    const StereoBuffer b = render_score(s, 44100);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
}

TEST(Synth, LeadBrightensWithItsFilterController)
{
    // Brightness: the share of energy in the sample-to-sample differences.
    auto brightness = [](int cc) {
        Score s = empty_score();
        s.notes.push_back({6, 0.0, 2.0, 69, 110});
        s.controls.push_back({6, 0.0, 74, cc});
        const StereoBuffer b = render_score(s, 44100);
        double d = 0.0, e = 0.0;
        for (size_t i = 4410; i < 44100; ++i) {
            const double x = b.left[i] - b.left[i - 1];
            d += x * x;
            e += double(b.left[i]) * b.left[i];
        }
        return d / e;
    };
    EXPECT_GT(brightness(120), 4.0 * brightness(10));
}

TEST(Synth, ShowScoreFitsItsTracksAndLength)
{
    const Score s = make_gloam_score();
    EXPECT_DOUBLE_EQ(s.seconds(s.lengthBeats), 93.0);
    ASSERT_EQ(s.tracks.size(), 8u);
    for (const ScoreNote& n : s.notes) {
        EXPECT_GE(n.track, 1);
        EXPECT_LE(n.track, 7);
        EXPECT_GE(n.velocity, 1);
        EXPECT_LE(n.velocity, 127);
        EXPECT_GE(n.beat, 0.0);
        EXPECT_LE(n.beat + n.length, s.lengthBeats) << "track " << n.track << " beat " << n.beat;
        EXPECT_GT(n.length, 0.0);
    }
    for (const ScoreControl& c : s.controls) {
        EXPECT_EQ(c.track, 6);
        EXPECT_GE(c.value, 0);
        EXPECT_LE(c.value, 127);
    }
}
}  // namespace
