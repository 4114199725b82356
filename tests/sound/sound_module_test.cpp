// The sound module as the scene manager uses it: its messages, the process
// ending on the failures it cannot play through, and what the show asks of
// the music it plays.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "sound_player/stream_player.h"
#include "runtime/cSoundModule_fmod.h"
#include "sound/sound_files.h"

namespace {

class SoundModule : public testing::Test {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        m_savedPath = g_music_path;
        m_dir = make_temp_dir();
    }
    void TearDown() override
    {
        sp_close();
        g_music_path = m_savedPath;
        unsetenv("SDL_AUDIODRIVER");
    }
    std::string make_music(double seconds)
    {
        const std::string path = m_dir + "/music.mp3";
        write_mp3(path, test_signal(seconds));
        return path;
    }

    std::string m_savedPath;
    std::string m_dir;
};

TEST_F(SoundModule, ConstructionReportsTheMixerSizeAndStartsInStreamMode)
{
    testing::internal::CaptureStdout();
    cSoundModule_fmod m;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "# fmod: mixersize: 150ms\n");
    EXPECT_EQ(m.mode, 0);
    EXPECT_FALSE(m.playing);
    EXPECT_EQ(m.stream, nullptr);
}

TEST_F(SoundModule, OpensAndPlaysTheMusicWithItsLength)
{
    g_music_path = make_music(1.5);
    cSoundModule_fmod m;
    m.init(false);
    testing::internal::CaptureStdout();
    m.open();
    m.play();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "# fmod loaded stream \"" + g_music_path + "\" [length: 1500ms]\n# fmod starting playback...\n");
    EXPECT_TRUE(m.playing);
    ASSERT_NE(m.stream, nullptr);
    EXPECT_FALSE(sp_get_paused(m.channel));

    // The p key twice: paused, then the same channel resumes.
    m.toggle_pause();
    EXPECT_FALSE(m.playing);
    EXPECT_TRUE(sp_get_paused(m.channel));
    m.toggle_pause();
    EXPECT_TRUE(m.playing);
    EXPECT_FALSE(sp_get_paused(m.channel));

    m.set_time(1000);
    const int64_t pos = sp_stream_get_position(m.stream);
    EXPECT_GE(pos, 44100) << "the seek landed at 1 s";
    EXPECT_LT(pos, 44100 + 20000) << "and the device plays on from there";

    m.close();
    EXPECT_FALSE(m.playing);
    EXPECT_EQ(m.stream, nullptr);
}

TEST_F(SoundModule, VolumeOutsideTheRangeIsAWarning)
{
    g_music_path = make_music(0.5);
    cSoundModule_fmod m;
    m.init(false);
    m.open();
    m.play();
    testing::internal::CaptureStderr();
    m.set_volume(100);
    m.set_volume(0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    testing::internal::CaptureStderr();
    m.set_volume(300);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "## WARNING: Not able to set volume in ..\\src\\cSoundModule_fmod line 99\n");
}

TEST_F(SoundModule, MissingMusicEndsStartUp)
{
    g_music_path = m_dir + "/GLOAM2.mp3";
    EXPECT_EXIT(
        {
            cSoundModule_fmod m;
            m.init(false);
            m.open();
        },
        testing::ExitedWithCode(1), "## ERROR: File not found \\(file \"[^\"]*/GLOAM2.mp3\"\\)\n");
}

TEST_F(SoundModule, MusicThatIsNotMp3EndsStartUp)
{
    g_music_path = m_dir + "/GLOAM2.mp3";
    write_bytes(g_music_path, std::vector<uint8_t>(5000, 'x'));
    EXPECT_EXIT(
        {
            cSoundModule_fmod m;
            m.init(false);
            m.open();
        },
        testing::ExitedWithCode(1), "## ERROR: Unknown file format \\(file \"[^\"]*\"\\)\n");
}

TEST_F(SoundModule, NoOutputDeviceEndsStartUp)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EXIT(
        {
            cSoundModule_fmod m;
            m.init(true);
        },
        testing::ExitedWithCode(1), "^Error initializing output device\\.$");
}

TEST_F(SoundModule, ModuleModeReportsItsLoadFailure)
{
    g_music_path = make_music(0.3);
    EXPECT_EXIT(
        {
            cSoundModule_fmod m;
            m.mode = 1;
            m.init(false);
            m.open();
        },
        testing::ExitedWithCode(1), "## ERROR: Unknown file format \\(file \"[^\"]*\"\\)\n");
}

// The show warns when the music ends before its quit marker: it asks the
// module for the music's length, which is known from the open on and not
// before it or after the close.
TEST_F(SoundModule, TheMusicsLengthIsKnownWhileItIsOpen)
{
    g_music_path = make_music(1.25);
    cSoundModule_fmod m;
    m.init(false);
    EXPECT_EQ(m.length_ms(), -1);
    m.open();
    EXPECT_EQ(m.length_ms(), 1250);
    m.close();
    EXPECT_EQ(m.length_ms(), -1);
}

// Music that is there but cannot be read says the system's reason, not
// "File not found" (a loop of links: no permission stops root).
TEST_F(SoundModule, MusicThatCannotBeReadSaysWhy)
{
    g_music_path = m_dir + "/GLOAM2.mp3";
    ASSERT_EQ(symlink(g_music_path.c_str(), g_music_path.c_str()), 0);
    EXPECT_EXIT(
        {
            cSoundModule_fmod m;
            m.init(false);
            m.open();
        },
        testing::ExitedWithCode(1),
        "## ERROR: cannot read \"[^\"]*/GLOAM2.mp3\": Too many levels of symbolic links\n");
}
}  // namespace
