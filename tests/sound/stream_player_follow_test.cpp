// The stream player on a device with a delay of its own: the music a
// listener hears at clock time T is the music placed for T, from the first
// sample, after seeks, pauses and underruns, and on a device whose clock
// runs apart from the show's. The stand-in device hears every buffer a
// fixed delay after it is mixed; the clock is moved by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "sound_player/stream_player.h"
#include "sound/fake_audio_output.h"
#include "sound/sound_files.h"

namespace {

constexpr int RATE = 44100;
constexpr int LATENCY_MS = 120;
// The player moves the music only when it is further off than this.
constexpr int64_t TOLERANCE_FRAMES = 5 * RATE / 1000 + 1;

class FollowingPlayer : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new std::string(make_temp_dir());
        write_mp3(*s_dir + "/signal.mp3", test_signal(4.0));
    }
    static void TearDownTestSuite() { delete s_dir; }

    void start(bool timing = true)
    {
        m_device = std::make_unique<FakeAudioOutput>(m_clock, LATENCY_MS, timing);
        ASSERT_TRUE(sp_set_audio_output(m_device.get()));
        sp_set_time_source(&m_clock);
        ASSERT_TRUE(sp_set_output(SP_OUTPUT_DEVICE));
        ASSERT_TRUE(sp_init(RATE, 2, 0));
        m_stream = sp_stream_open((*s_dir + "/signal.mp3").c_str(), SP_LOOP_OFF | SP_ACCURATE, 0, 0);
        ASSERT_NE(m_stream, nullptr) << sp_error_text(sp_get_error());
    }
    void TearDown() override
    {
        sp_close();
        sp_set_audio_output(nullptr);
        sp_set_time_source(nullptr);
    }

    // The music at demo time `ms` is to be heard at clock time `atMs`.
    void place(int ms, int64_t atMs) { sp_stream_sync(m_stream, ms, atMs * 1000); }

    // Which frame of the music a heard buffer starts with: -1 silence,
    // -2 no music at all (a buffer the player mixed wrongly).
    int64_t music_frame(const std::vector<int16_t>& pcm) const
    {
        if (std::all_of(pcm.begin(), pcm.end(), [](int16_t v) { return v == 0; }))
            return -1;
        int64_t frames = 0;
        const int16_t* music = sp_stream_pcm(m_stream, &frames);
        const int probe = 64;
        for (int64_t f = 0; f + probe <= frames; ++f)
            if (std::equal(pcm.begin(), pcm.begin() + probe * 2, music + f * 2))
                return f;
        return -2;
    }
    // The music frame due when a buffer is heard, placed as `ms` at `atMs`.
    static int64_t due(const FakeAudioOutput::Heard& h, int ms, int64_t atMs)
    {
        return int64_t(ms) * RATE / 1000 + (h.atUs - atMs * 1000) * RATE / 1000000;
    }
    // Every buffer from `first` on starts with the music due when it is heard.
    void expect_in_step(size_t first, int ms, int64_t atMs, const char* what)
    {
        for (size_t i = first; i < m_device->heard.size(); ++i) {
            const auto& h = m_device->heard[i];
            const int64_t want = due(h, ms, atMs);
            if (want < 0)
                continue;  // a buffer that begins before the music: silence then music
            const int64_t got = music_frame(h.pcm);
            ASSERT_GE(got, 0) << what << ": buffer " << i << " heard at " << h.atUs / 1000 << " ms has no music";
            ASSERT_LE(std::llabs(got - want), TOLERANCE_FRAMES)
                << what << ": buffer " << i << " heard at " << h.atUs / 1000 << " ms plays music frame " << got
                << ", due is " << want << " (" << (got - want) * 1000 / RATE << " ms off)";
        }
    }

    static std::string* s_dir;
    cManualTimeSource m_clock{1000};
    std::unique_ptr<FakeAudioOutput> m_device;
    sp_stream* m_stream = nullptr;
};
std::string* FollowingPlayer::s_dir = nullptr;

TEST_F(FollowingPlayer, HeardMusicIsTheMusicDueThenFromTheFirstSample)
{
    start();
    ASSERT_TRUE(sp_output_reports_timing());
    sp_set_follow(true);
    ASSERT_TRUE(sp_following());
    const int channel = sp_stream_play(SP_FREE, m_stream);
    // Before the caller places the music, the device gets silence: it does
    // not know yet when the music is due.
    m_device->play_buffer();
    EXPECT_EQ(music_frame(m_device->heard.back().pcm), -1);

    // Demo time 0 is to be heard 200 ms from now, later than the device's
    // 120 ms: silence first, then the first sample exactly on time.
    const int64_t at = m_clock.ms() + 200;
    place(0, at);
    const size_t first = m_device->heard.size();
    for (int i = 0; i < 100; ++i)
        m_device->play_buffer();
    std::vector<int16_t> heard;  // contiguous: nothing was moved since
    for (size_t i = first; i < m_device->heard.size(); ++i)
        heard.insert(heard.end(), m_device->heard[i].pcm.begin(), m_device->heard[i].pcm.end());
    const int64_t onTime = (at * 1000 - m_device->heard[first].atUs) * RATE / 1000000;
    ASSERT_GT(onTime, 512);
    int64_t frames = 0;
    const int16_t* music = sp_stream_pcm(m_stream, &frames);
    int64_t start = -1;
    for (int64_t f = onTime - 2; f <= onTime + 2 && start < 0; ++f)
        if (std::equal(music, music + 128, heard.begin() + f * 2))
            start = f;
    ASSERT_GE(start, 0) << "the music's first sample is not heard at the time placed";
    EXPECT_TRUE(std::all_of(heard.begin(), heard.begin() + start * 2, [](int16_t v) { return v == 0; }));
    expect_in_step(first, 0, at, "steady play");
    EXPECT_FALSE(sp_get_paused(channel));
}

TEST_F(FollowingPlayer, SeekAndPauseAreHeardInStep)
{
    start();
    sp_set_follow(true);
    const int channel = sp_stream_play(SP_FREE, m_stream);
    place(0, m_clock.ms());
    for (int i = 0; i < 20; ++i)
        m_device->play_buffer();

    // A seek drops what the device holds and is heard in step at once.
    const int discards = m_device->discards;
    ASSERT_TRUE(sp_stream_set_time(m_stream, 2500));
    EXPECT_GT(m_device->discards, discards);
    int64_t at = m_clock.ms() + 16;
    place(2500, at);
    size_t first = m_device->heard.size();
    for (int i = 0; i < 20; ++i)
        m_device->play_buffer();
    expect_in_step(first, 2500, at, "after a seek");

    // Paused: silence. Resumed 700 ms later: the music goes on from where
    // the clock resumes, not from what the device had mixed ahead.
    ASSERT_TRUE(sp_set_paused(channel, true));
    first = m_device->heard.size();
    for (int i = 0; i < 60; ++i)
        m_device->play_buffer();
    for (size_t i = first; i < m_device->heard.size(); ++i)
        ASSERT_EQ(music_frame(m_device->heard[i].pcm), -1) << "music while paused";
    const int pausedAt = 2500 + int(m_clock.ms() - at);  // roughly; the clock decides
    ASSERT_TRUE(sp_set_paused(channel, false));
    at = m_clock.ms() + 16;
    place(pausedAt, at);
    first = m_device->heard.size();
    for (int i = 0; i < 20; ++i)
        m_device->play_buffer();
    expect_in_step(first, pausedAt, at, "after a pause");
}

TEST_F(FollowingPlayer, AnUnderrunIsMadeUpWithTheNextBuffer)
{
    start();
    sp_set_follow(true);
    sp_stream_play(SP_FREE, m_stream);
    const int64_t at = m_clock.ms();
    place(0, at);
    for (int i = 0; i < 10; ++i)
        m_device->play_buffer();
    // 300 ms without a buffer: the device ran dry and now plays what it is
    // given 20 ms later. The very next buffer is the music due then.
    m_device->starve(300, 20);
    const size_t first = m_device->heard.size();
    m_device->play_buffer();
    expect_in_step(first, 0, at, "after an underrun");
    // The frames placed per frame of the show keep it there.
    place(int(m_clock.ms() - at), m_clock.ms());
    for (int i = 0; i < 10; ++i)
        m_device->play_buffer();
    expect_in_step(first, 0, at, "after an underrun");
}

TEST_F(FollowingPlayer, ADeviceClockRunningFastDoesNotDrift)
{
    start();
    sp_set_follow(true);
    sp_stream_play(SP_FREE, m_stream);
    const int64_t at = m_clock.ms();
    place(0, at);
    // 1% fast: 35 ms ahead after 3.5 s if nothing corrected it. The show
    // places the music every 16 ms of its clock.
    int64_t nextPlace = m_clock.ms() + 16;
    while (m_clock.ms() - at < 3500) {
        m_device->play_buffer(512, 1.01);
        if (m_clock.ms() >= nextPlace) {
            place(int(m_clock.ms() - at), m_clock.ms());
            nextPlace += 16;
        }
    }
    expect_in_step(0, 0, at, "a fast device");
}

TEST_F(FollowingPlayer, WithoutTimingTheMusicPlaysOnAsItAlwaysDid)
{
    start(false);
    EXPECT_FALSE(sp_output_reports_timing());
    sp_set_follow(true);
    EXPECT_FALSE(sp_following());
    sp_stream_play(SP_FREE, m_stream);
    place(0, m_clock.ms() + 500);  // ignored
    for (int i = 0; i < 4; ++i)
        m_device->play_buffer();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(music_frame(m_device->heard[size_t(i)].pcm), int64_t(i) * 512);
    ASSERT_TRUE(sp_stream_set_time(m_stream, 1000));
    EXPECT_EQ(m_device->discards, 0);
    m_device->play_buffer();
    EXPECT_EQ(music_frame(m_device->heard.back().pcm), int64_t(RATE));
}

}  // namespace
