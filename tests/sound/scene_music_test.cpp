// The scene manager keeps the music with its clock: set-up opens the
// soundtrack, the demo start plays it, the first frame's jump to s00, a seek
// and a pause all reach the player. Runs on SDL's dummy audio driver against
// the baked data tree.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/cManualTimeSource.h"
#include "sound_player/stream_player.h"
#include "runtime/cSceneManager.h"
#include "support/prerequisite.h"

namespace {

class SceneMusic : public testing::Test {
protected:
    void SetUp() override
    {
        if (FILE* f = std::fopen(g_music_path.c_str(), "rb"))
            std::fclose(f);
        else
            MISSING_PREREQUISITE("no baked soundtrack at " << g_music_path << " (scripts/bake.sh bakes it)");
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    void TearDown() override { unsetenv("SDL_AUDIODRIVER"); }
};

// Where the player is, in ms, allowing for what the device has taken since.
int64_t position_ms(const cSoundModule_fmod& m)
{
    return sp_stream_get_position(m.stream) * 1000 / 44100;
}

TEST_F(SceneMusic, StartSeekAndPauseMoveTheMusicWithTheClock)
{
    cManualTimeSource time;
    cSceneManager sm(&time);
    testing::internal::CaptureStdout();
    sm.setup(false);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("# fmod loaded stream \"../data/music/GLOAM2.mp3\" [length: 93000ms]"), std::string::npos)
        << out;

    cSoundModule_fmod& m = sm.sound();
    ASSERT_NE(m.stream, nullptr);
    EXPECT_FALSE(m.playing);
    sm.start();
    EXPECT_TRUE(m.playing);
    EXPECT_LT(position_ms(m), 1000) << "playback starts at the top";
    m.set_time(20000);  // somewhere else, so the jump below shows
    time.advance_ms(3000);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(sm.dispatch_events()) << "the first frame jumps to s00";
    testing::internal::GetCapturedStderr();
    EXPECT_LT(position_ms(m), 1000) << "s00 is at 0 ms: the music went back with the clock";

    sm.seek(40000);
    EXPECT_GE(position_ms(m), 40000);
    EXPECT_LT(position_ms(m), 41000);
    EXPECT_EQ(sm.demo_time(), 40000);

    sm.toggle_pause();
    EXPECT_FALSE(m.playing);
    EXPECT_TRUE(sp_get_paused(m.channel));
    sm.toggle_pause();
    EXPECT_TRUE(m.playing);
    EXPECT_FALSE(sp_get_paused(m.channel));
}
}  // namespace
