// The stream player, driven the way the sound module drives it: decoding
// and length, sample-exact seeks, pause and volume checked on the samples
// its mixer hands out, and every error code it can meet.
#include <gtest/gtest.h>

#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio_output_sdl.h"
#include "sound_player/stream_player.h"
#include "sound/sound_files.h"

namespace {

class StreamPlayer : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new std::string(make_temp_dir());
        s_source = new StereoBuffer(test_signal(2.0));
        write_mp3(*s_dir + "/signal.mp3", *s_source);
    }
    static void TearDownTestSuite()
    {
        delete s_source;
        delete s_dir;
    }
    void SetUp() override
    {
        ASSERT_TRUE(sp_set_output(SP_OUTPUT_NOSOUND));
        ASSERT_TRUE(sp_init(44100, 2, 0));
    }
    void TearDown() override
    {
        sp_close();
        sp_set_output(SP_OUTPUT_DEVICE);
        sp_set_buffer_size(150);
    }

    sp_stream* open_signal()
    {
        sp_stream* s = sp_stream_open((*s_dir + "/signal.mp3").c_str(), SP_LOOP_OFF | SP_ACCURATE, 0, 0);
        EXPECT_NE(s, nullptr) << sp_error_text(sp_get_error());
        return s;
    }
    static std::vector<int16_t> mix(int frames)
    {
        std::vector<int16_t> out(size_t(frames) * 2, 12345);
        sp_mix(out.data(), frames);
        return out;
    }
    // The decoded music from `frame` on, `frames` long.
    static std::vector<int16_t> pcm(const sp_stream* s, int64_t frame, int frames)
    {
        int64_t total = 0;
        const int16_t* p = sp_stream_pcm(s, &total);
        return std::vector<int16_t>(p + frame * 2, p + (frame + frames) * 2);
    }

    static std::string* s_dir;
    static StereoBuffer* s_source;
};
std::string* StreamPlayer::s_dir = nullptr;
StereoBuffer* StreamPlayer::s_source = nullptr;

TEST_F(StreamPlayer, DecodesExactlyTheEncodedSamplesWithoutEncoderDelay)
{
    sp_stream* s = open_signal();
    ASSERT_NE(s, nullptr);
    int64_t frames = 0;
    const int16_t* p = sp_stream_pcm(s, &frames);
    // The gapless information gives back exactly the samples that went in.
    EXPECT_EQ(frames, int64_t(s_source->frames()));
    EXPECT_EQ(sp_stream_get_length_ms(s), 2000);

    // And they line up: the decoded signal matches the source best with no
    // offset at all (a left-over encoder delay would show as a lag of
    // about a thousand samples).
    auto corr = [&](int lag) {
        double sum = 0.0;
        for (int64_t i = 4000; i < 40000; ++i)
            sum += double(p[2 * (i + lag)]) * s_source->left[size_t(i)];
        return sum;
    };
    int best = 0;
    for (int lag = -1500; lag <= 1500; ++lag)
        if (corr(lag) > corr(best))
            best = lag;
    EXPECT_EQ(best, 0);
    // Close to the source sample by sample, as a 192 kbit/s encoding is.
    double err = 0.0, sig = 0.0;
    for (int64_t i = 0; i < frames; ++i) {
        const double d = p[2 * i] / 32768.0 - s_source->left[size_t(i)];
        err += d * d;
        sig += double(s_source->left[size_t(i)]) * s_source->left[size_t(i)];
    }
    EXPECT_LT(err / sig, 0.01);
}

TEST_F(StreamPlayer, PlaysFromTheStartAndSeeksToTheExactSample)
{
    sp_stream* s = open_signal();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(mix(64), std::vector<int16_t>(128, 0)) << "nothing plays before play";

    const int ch = sp_stream_play(SP_FREE, s);
    ASSERT_GE(ch, 0);
    EXPECT_EQ(mix(1000), pcm(s, 0, 1000));
    EXPECT_EQ(sp_stream_get_position(s), 1000);

    for (int ms : {1234, 1, 0, 1999, 500}) {
        ASSERT_TRUE(sp_stream_set_time(s, ms));
        const int64_t frame = int64_t(ms) * 44100 / 1000;
        const int n = int(std::min<int64_t>(300, 88200 - frame));
        EXPECT_EQ(mix(n), pcm(s, frame, n)) << "after a seek to " << ms << " ms";
    }
    // Playing again starts over at 0.
    sp_stream_play(ch, s);
    EXPECT_EQ(mix(10), pcm(s, 0, 10));
}

TEST_F(StreamPlayer, EndsInSilenceAndSeeksPastTheEndAreClamped)
{
    sp_stream* s = open_signal();
    ASSERT_NE(s, nullptr);
    sp_stream_play(SP_FREE, s);
    sp_stream_set_time(s, 1990);  // 441 frames before the end
    const std::vector<int16_t> out = mix(1000);
    EXPECT_EQ(std::vector<int16_t>(out.begin(), out.begin() + 882), pcm(s, 88200 - 441, 441));
    EXPECT_EQ(std::vector<int16_t>(out.begin() + 882, out.end()), std::vector<int16_t>(1118, 0));
    EXPECT_TRUE(sp_stream_set_time(s, 5000));
    EXPECT_EQ(sp_stream_get_position(s), 88200);
    EXPECT_TRUE(sp_stream_set_time(s, -20));
    EXPECT_EQ(sp_stream_get_position(s), 0);
}

TEST_F(StreamPlayer, PauseAndResumeLoseNoSamples)
{
    sp_stream* s = open_signal();
    ASSERT_NE(s, nullptr);
    const int ch = sp_stream_play(SP_FREE, s);
    std::vector<int16_t> heard = mix(700);
    ASSERT_TRUE(sp_set_paused(ch, true));
    EXPECT_TRUE(sp_get_paused(ch));
    EXPECT_EQ(mix(500), std::vector<int16_t>(1000, 0)) << "a paused channel is silent";
    EXPECT_EQ(sp_stream_get_position(s), 700) << "and does not move";
    ASSERT_TRUE(sp_set_paused(ch, false));
    const std::vector<int16_t> more = mix(900);
    heard.insert(heard.end(), more.begin(), more.end());
    EXPECT_EQ(heard, pcm(s, 0, 1600));

    // A seek while paused is where playing resumes.
    sp_set_paused(ch, true);
    sp_stream_set_time(s, 1000);
    sp_set_paused(ch, false);
    EXPECT_EQ(mix(100), pcm(s, 44100, 100));
}

TEST_F(StreamPlayer, VolumeZeroIsSilentAndFullIsUnchanged)
{
    sp_stream* s = open_signal();
    ASSERT_NE(s, nullptr);
    const int ch = sp_stream_play(SP_FREE, s);
    ASSERT_TRUE(sp_set_volume(ch, 0));
    EXPECT_EQ(mix(500), std::vector<int16_t>(1000, 0));
    ASSERT_TRUE(sp_set_volume(ch, 255));
    EXPECT_EQ(mix(500), pcm(s, 500, 500));
    ASSERT_TRUE(sp_set_volume(ch, 100));
    const std::vector<int16_t> quiet = mix(500);
    const std::vector<int16_t> ref = pcm(s, 1000, 500);
    for (size_t i = 0; i < ref.size(); ++i)
        ASSERT_EQ(quiet[i], ref[i] * 100 / 255) << i;
    EXPECT_FALSE(sp_set_volume(ch, 256));
    EXPECT_FALSE(sp_set_volume(ch, -1));
    EXPECT_EQ(sp_get_error(), SP_ERR_INVALID_PARAM);
    EXPECT_FALSE(sp_set_volume(7, 100)) << "no such channel";
}

TEST_F(StreamPlayer, OpenFailuresReportTheTableCodes)
{
    EXPECT_EQ(sp_stream_open((*s_dir + "/missing.mp3").c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(sp_get_error(), SP_ERR_FILE_NOTFOUND);
    EXPECT_STREQ(sp_error_text(sp_get_error()), "File not found");

    const std::string text = *s_dir + "/notes.txt";
    std::vector<uint8_t> words;
    for (int i = 0; i < 400; ++i)
        for (char c : std::string("this is not music, just words. "))
            words.push_back(uint8_t(c));
    write_bytes(text, words);
    EXPECT_EQ(sp_stream_open(text.c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(sp_get_error(), SP_ERR_FILE_FORMAT);
    EXPECT_STREQ(sp_error_text(sp_get_error()), "Unknown file format");

    const std::string empty = *s_dir + "/empty.mp3";
    write_bytes(empty, {});
    EXPECT_EQ(sp_stream_open(empty.c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(sp_get_error(), SP_ERR_FILE_FORMAT);

    // Good frames, then garbage: decoding breaks off part-way.
    std::vector<uint8_t> damaged = read_bytes(*s_dir + "/signal.mp3");
    ASSERT_GT(damaged.size(), 20000u);
    uint32_t state = 99;
    for (size_t i = damaged.size() / 2; i < damaged.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        damaged[i] = uint8_t(state >> 24);
    }
    const std::string bad = *s_dir + "/damaged.mp3";
    write_bytes(bad, damaged);
    sp_stream* s = sp_stream_open(bad.c_str(), 0, 0, 0);
    if (s) {
        // A decoder may also stop cleanly at the damage; then it must not
        // claim more music than the good half holds.
        EXPECT_LE(sp_stream_get_length_ms(s), 1100);
    } else {
        EXPECT_TRUE(sp_get_error() == SP_ERR_FILE_BAD || sp_get_error() == SP_ERR_FILE_FORMAT)
            << sp_get_error();
    }
}

TEST_F(StreamPlayer, CallsInTheWrongStateAreRefused)
{
    EXPECT_FALSE(sp_init(44100, 2, 0)) << "already initialised";
    EXPECT_EQ(sp_get_error(), SP_ERR_BUSY);
    EXPECT_FALSE(sp_set_buffer_size(10));
    EXPECT_FALSE(sp_set_output(SP_OUTPUT_DEVICE));
    sp_close();
    EXPECT_EQ(sp_stream_open((*s_dir + "/signal.mp3").c_str(), 0, 0, 0), nullptr);
    EXPECT_EQ(sp_get_error(), SP_ERR_UNINITIALIZED);
    EXPECT_FALSE(sp_set_output(5));
    EXPECT_EQ(sp_get_error(), SP_ERR_INVALID_PARAM);
    ASSERT_TRUE(sp_init(44100, 1, 0));
    sp_stream* a = open_signal();
    sp_stream* b = open_signal();
    EXPECT_EQ(sp_stream_play(SP_FREE, a), 0);
    EXPECT_EQ(sp_stream_play(SP_FREE, b), -1) << "one channel only";
    EXPECT_EQ(sp_get_error(), SP_ERR_CHANNEL_ALLOC);
    EXPECT_EQ(sp_stream_play(SP_FREE, nullptr), -1);
    EXPECT_FALSE(sp_stream_set_time(nullptr, 10));
}

// SDL's output with every buffer its device thread asks for counted, so
// that a test waits for buffers played, not for time gone by.
class CountingSdlOutput : public iAudioOutput {
public:
    bool open(int rate, int bufferFrames, MixFn mix, void* user) override
    {
        m_mix = mix;
        m_user = user;
        return m_sdl.open(rate, bufferFrames, &CountingSdlOutput::relay, this);
    }
    void close() override { m_sdl.close(); }
    void lock() override { m_sdl.lock(); }
    void unlock() override { m_sdl.unlock(); }
    void discard_queued() override { m_sdl.discard_queued(); }
    int buffer_frames() const override { return m_sdl.buffer_frames(); }
    bool reports_timing() const override { return m_sdl.reports_timing(); }
    const char* name() const override { return m_sdl.name(); }

    // Waits until the device has asked for `more` buffers after this call
    // began; false if it stopped asking (a minute without one).
    bool wait_for_buffers(int more)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        const int64_t want = m_buffers + more;
        return m_asked.wait_for(lock, std::chrono::minutes(1), [&] { return m_buffers >= want; });
    }

private:
    static void relay(void* self, int16_t* out, int frames, int64_t delayFrames)
    {
        CountingSdlOutput* o = static_cast<CountingSdlOutput*>(self);
        o->m_mix(o->m_user, out, frames, delayFrames);
        std::lock_guard<std::mutex> lock(o->m_mutex);
        ++o->m_buffers;
        o->m_asked.notify_all();
    }

    cAudioOutputSdl m_sdl;
    MixFn m_mix = nullptr;
    void* m_user = nullptr;
    std::mutex m_mutex;
    std::condition_variable m_asked;
    int64_t m_buffers = 0;
};

// The real output path, on SDL's dummy driver: the device takes samples on
// its own thread, a paused channel holds still however many buffers the
// device plays meanwhile.
TEST(StreamPlayerDevice, DummyDeviceConsumesAndPauseHolds)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string dir = make_temp_dir();
    write_mp3(dir + "/signal.mp3", test_signal(2.0));
    CountingSdlOutput device;
    ASSERT_TRUE(sp_set_audio_output(&device));
    ASSERT_TRUE(sp_set_output(SP_OUTPUT_DEVICE));
    ASSERT_TRUE(sp_set_buffer_size(150));
    ASSERT_TRUE(sp_init(44100, 2, SP_INIT_GLOBALFOCUS)) << sp_error_text(sp_get_error());
    EXPECT_EQ(sp_device_buffer_frames(), 8192) << "150 ms, as a power of two";
    sp_stream* s = sp_stream_open((dir + "/signal.mp3").c_str(), 0, 0, 0);
    ASSERT_NE(s, nullptr);
    const int ch = sp_stream_play(SP_FREE, s);
    ASSERT_TRUE(device.wait_for_buffers(2)) << "the device stopped asking for samples";
    EXPECT_GT(sp_stream_get_position(s), 0) << "the device pulls samples";
    sp_set_paused(ch, true);
    // A buffer being mixed as the pause came in may still advance the
    // stream; every one after it must not.
    ASSERT_TRUE(device.wait_for_buffers(1));
    const int64_t held = sp_stream_get_position(s);
    ASSERT_TRUE(device.wait_for_buffers(3));
    EXPECT_EQ(sp_stream_get_position(s), held);
    sp_close();
    sp_set_audio_output(nullptr);

    // Capture asks for the smallest buffer.
    ASSERT_TRUE(sp_set_buffer_size(0));
    ASSERT_TRUE(sp_init(44100, 2, 0));
    EXPECT_EQ(sp_device_buffer_frames(), 256);
    sp_close();
    sp_set_buffer_size(150);
}

TEST(StreamPlayerDevice, NoUsableDeviceIsAnInitError)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    sp_set_output(SP_OUTPUT_DEVICE);
    EXPECT_FALSE(sp_init(44100, 2, 0));
    EXPECT_EQ(sp_get_error(), SP_ERR_INIT);
    unsetenv("SDL_AUDIODRIVER");
    sp_close();
}
}  // namespace
