// The loudness meter against signals whose loudness is known, and the
// master stage that uses it.
#include <gtest/gtest.h>

#include <cmath>

#include "synth/loudness.h"
#include "synth/master.h"

namespace {

StereoBuffer sine(double hz, double amplitude, double seconds, int rate = 44100)
{
    StereoBuffer b;
    b.rate = rate;
    const size_t n = size_t(seconds * rate);
    b.left.resize(n);
    b.right.resize(n);
    for (size_t i = 0; i < n; ++i)
        b.left[i] = b.right[i] = float(amplitude * std::sin(2.0 * M_PI * hz * double(i) / rate));
    return b;
}

double lufs(const StereoBuffer& b)
{
    return integrated_loudness(b.left.data(), b.right.data(), b.frames(), b.rate);
}

TEST(Loudness, SineNearOneKilohertzReadsItsLevel)
{
    // A 997 Hz sine in both channels at -20 dBFS peak reads -20 LUFS: the
    // meter's offset makes up for the weighting's gain there.
    EXPECT_NEAR(lufs(sine(997.0, 0.1, 5.0)), -20.0, 0.1);
    EXPECT_NEAR(lufs(sine(997.0, 0.1, 5.0, 48000)), -20.0, 0.1);
    // The weighting lifts highs and cuts lows.
    EXPECT_GT(lufs(sine(8000.0, 0.1, 5.0)), -20.0 + 2.0);
    EXPECT_LT(lufs(sine(30.0, 0.1, 5.0)), -20.0 - 3.0);
}

TEST(Loudness, SilenceAndQuietPassagesAreGatedOut)
{
    EXPECT_LE(lufs(sine(997.0, 0.0, 3.0)), -70.0);
    // Loud half, then a passage 30 dB down: the quiet part falls under the
    // relative gate and does not pull the reading down.
    StereoBuffer b = sine(997.0, 0.1, 4.0);
    for (size_t i = b.frames() / 2; i < b.frames(); ++i) {
        b.left[i] *= 0.0316f;
        b.right[i] *= 0.0316f;
    }
    // (Only the few blocks that straddle the change count a little.)
    EXPECT_NEAR(lufs(b), -20.0, 0.5);
}

TEST(Master, LimiterHoldsTheCeilingAndLeavesQuietAudioAlone)
{
    StereoBuffer quiet = sine(440.0, 0.3, 1.0);
    const StereoBuffer before = quiet;
    limit_peaks(quiet, 0.5f, 0.005, 0.1);
    EXPECT_EQ(quiet.left, before.left);

    StereoBuffer loud = sine(440.0, 0.3, 1.0);
    for (size_t i = 20000; i < 20100; ++i)
        loud.left[i] = (i % 2 ? 1.8f : -1.8f);  // a burst far over the ceiling
    limit_peaks(loud, 0.5f, 0.005, 0.1);
    EXPECT_LE(peak_dbfs(loud.left.data(), loud.right.data(), loud.frames()), 20.0 * std::log10(0.5) + 1e-4);
    // Before the look-ahead reaches the burst nothing changes; the gain
    // comes down ahead of it and recovers over the release.
    for (size_t i = 0; i < 20000 - 221; ++i)
        ASSERT_EQ(loud.right[i], before.right[i]) << i;
    EXPECT_LT(std::fabs(loud.right[19990]), std::fabs(before.right[19990]) * 0.9f + 1e-6f);
    for (size_t i = 44000; i < 44100; ++i)
        EXPECT_NEAR(loud.right[i], before.right[i], 0.002);
}

TEST(Master, ReachesTheTargetLoudnessUnderTheCeiling)
{
    // A sine with sharp spikes: loudness and peak pull against each other.
    StereoBuffer b = sine(220.0, 0.05, 6.0);
    for (size_t i = 0; i < b.frames(); i += 11025)
        b.left[i] = b.right[i] = 0.9f;
    MasterSettings s;
    const double reached = master_to_loudness(b, s);
    EXPECT_NEAR(reached, -14.0, 0.1);
    EXPECT_NEAR(lufs(b), reached, 1e-9);
    EXPECT_LE(peak_dbfs(b.left.data(), b.right.data(), b.frames()), s.ceilingDbfs + 1e-3);
}
}  // namespace
