// The baked soundtrack as the show plays it: the MP3 decoded by the player's
// own decoder and the MIDI file read by the show's MIDI reader. The kick and
// the hits must sound where the MIDI file says they do, the master must
// stay under its ceiling at streaming loudness, and baking must give the
// same bytes again. Runs against the data tree that ./test.sh bakes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <set>
#include <sstream>

#include "platform/mp3_decode.h"
#include "sound/sound_files.h"
#include "support/prerequisite.h"
#include "synth/loudness.h"
#include "synth/soundtrack.h"
#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"
#include "timeline/cMidiReader.h"
#include "timeline/iMidiEvent.h"

namespace {

const char* const MP3 = "../data/music/GLOAM2.mp3";
const char* const MID = "../data/music/GLOAM2.mid";
const char* const MARKERS = "../data/script/markers.txt";

struct Baked {
    std::vector<int16_t> pcm;
    std::vector<uint8_t> midiBytes;
    MidiFile midi;
    cEventQueue queue;  // the MIDI file's events, as the show times them
};

class Soundtrack : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_baked = new Baked;
        std::string detail;
        if (decode_mp3_file(MP3, 44100, s_baked->pcm, detail) != Mp3DecodeResult::ok)
            return;
        s_baked->midiBytes = read_bytes(MID);
        std::string error;
        std::ostringstream log;
        if (!cMidiReader::parse(s_baked->midiBytes.data(), s_baked->midiBytes.size(), s_baked->midi, error, log))
            s_baked->midiBytes.clear();
        else
            cMidiReader::append_to_queue(s_baked->midi, s_baked->queue, 0.0f, log);
    }
    static void TearDownTestSuite() { delete s_baked; }
    void SetUp() override
    {
        if (s_baked->pcm.empty() || s_baked->midiBytes.empty())
            MISSING_PREREQUISITE("no baked soundtrack under ../data (scripts/bake.sh bakes it)");
    }

    static std::vector<int> note_ons(int track)
    {
        std::vector<int> t;
        for (const cEvent* e : s_baked->queue.events())
            if (const cMETrigger* m = dynamic_cast<const cMETrigger*>(e))
                if (m->kind == 1 && m->track == track)
                    t.push_back(m->time);
        return t;
    }
    static size_t frames() { return s_baked->pcm.size() / 2; }

    static Baked* s_baked;
};
Baked* Soundtrack::s_baked = nullptr;

// Energy of the mono mix's first difference (which favours the attacks of
// drums over the bass and pads under them) in 3 ms windows centred on each
// millisecond.
std::vector<double> attack_energy_per_ms(const std::vector<int16_t>& pcm)
{
    const size_t frames = pcm.size() / 2;
    std::vector<float> d(frames);
    float prev = 0.0f;
    for (size_t i = 0; i < frames; ++i) {
        const float x = (pcm[2 * i] + pcm[2 * i + 1]) / 65536.0f;
        d[i] = x - prev;
        prev = x;
    }
    const size_t width = 132;
    std::vector<double> e(frames / 44 + 1, 0.0);
    for (size_t ms = 0; ms < e.size(); ++ms) {
        const size_t centre = ms * 441 / 10;
        const size_t from = centre > width / 2 ? centre - width / 2 : 0;
        double sum = 0.0;
        for (size_t i = from; i < std::min(from + width, frames); ++i)
            sum += double(d[i]) * d[i];
        e[ms] = sum;
    }
    return e;
}

// The first millisecond within 30 ms of `expected` whose energy is three
// times that of the 10 ms before it and at least 30 % of the strongest in
// the window: where a note starts. -1 when there is none.
int onset_near(const std::vector<double>& e, int expected)
{
    const int from = expected - 30, to = expected + 30;
    if (from < 20 || to >= int(e.size()))
        return -1;
    double peak = 0.0;
    for (int ms = from; ms <= to; ++ms)
        peak = std::max(peak, e[size_t(ms)]);
    for (int ms = from; ms <= to; ++ms) {
        double before = 0.0;
        for (int k = ms - 15; k < ms - 5; ++k)
            before += e[size_t(k)] / 10.0;
        if (e[size_t(ms)] > 3.0 * before + 1e-9 && e[size_t(ms)] >= 0.3 * peak)
            return ms;
    }
    return -1;
}

TEST_F(Soundtrack, KicksAndHitsSoundWhereTheMidiFilePutsThem)
{
    const std::vector<double> e = attack_energy_per_ms(s_baked->pcm);
    for (int track : {3, 2}) {
        const std::vector<int> times = note_ons(track);
        ASSERT_GT(times.size(), 20u) << "track " << track;
        int worst = 0;
        for (int t : times) {
            const int found = onset_near(e, t);
            ASSERT_GE(found, 0) << "no onset near the track " << track << " note at " << t << " ms";
            EXPECT_LE(std::abs(found - t), 10) << "track " << track << " note at " << t << " ms sounds at " << found;
            worst = std::max(worst, std::abs(found - t));
        }
        RecordProperty("worst_offset_ms_track_" + std::to_string(track), worst);
    }
}

TEST_F(Soundtrack, MasterStaysUnderItsCeilingAtStreamingLoudness)
{
    int peak = 0;
    for (int16_t s : s_baked->pcm)
        peak = std::max(peak, std::abs(int(s)));
    const double peakDb = 20.0 * std::log10(peak / 32768.0);
    EXPECT_LT(peakDb, -0.5);
    EXPECT_GT(peakDb, -6.0) << "the master uses its range";
    const double lufs = integrated_loudness_s16(s_baked->pcm.data(), frames(), 44100);
    EXPECT_NEAR(lufs, -14.0, 0.25);
}

TEST_F(Soundtrack, RunsNinetyThreeSecondsAndFadesOut)
{
    EXPECT_NEAR(double(frames()) * 1000.0 / 44100.0, 93000.0, 1.0);
    // The first second of the fade is louder than its last.
    auto rms = [&](double from, double to) {
        double sum = 0.0;
        const size_t a = size_t(from * 44100), b = size_t(to * 44100);
        for (size_t i = a; i < b; ++i)
            sum += double(s_baked->pcm[2 * i]) * s_baked->pcm[2 * i];
        return std::sqrt(sum / double(b - a));
    };
    EXPECT_GT(rms(89.0, 90.0), 10.0 * rms(92.5, 93.0));
    EXPECT_GT(rms(1.0, 2.0), 0.0) << "music from the first second";
}

TEST_F(Soundtrack, MidiFileServesTheScenes)
{
    const MidiFile& m = s_baked->midi;
    ASSERT_EQ(m.tracks.size(), 8u);
    const char* names[8] = {"Gloam", "pad", "hits", "kick", "bass", "percussion", "lead", "accents"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(m.tracks[size_t(i)].name, names[i]);
    EXPECT_TRUE(m.tracks[0].events.empty()) << "track 0 holds tempo and names only";
    EXPECT_DOUBLE_EQ(m.secondsPerTick * m.division, 0.5) << "120 beats per minute";

    // Exactly one tempo event in the whole file.
    const std::vector<uint8_t>& b = s_baked->midiBytes;
    int tempos = 0;
    for (size_t i = 0; i + 2 < b.size(); ++i)
        tempos += b[i] == 0xFF && b[i + 1] == 0x51 && b[i + 2] == 0x03;
    EXPECT_EQ(tempos, 1);

    std::set<int> trackFivePulses, controllers;
    for (size_t t = 1; t < 8; ++t)
        for (const MidiChannelEvent& ev : m.tracks[t].events) {
            ASSERT_TRUE(ev.status == 0x80 || ev.status == 0x90 || ev.status == 0xB0)
                << "track " << t << " status " << int(ev.status);
            if (ev.status == 0xB0) {
                EXPECT_EQ(t, 6u) << "controllers belong to the lead";
                controllers.insert(ev.data1);
            }
            if (ev.status == 0x90) {
                EXPECT_GT(ev.data2, 0) << "a note on with velocity 0 would vanish";
                if (t == 5)
                    trackFivePulses.insert(ev.data1);
            }
        }
    EXPECT_EQ(controllers, std::set<int>{74});
    for (int k : {36, 42, 48, 54})
        EXPECT_TRUE(trackFivePulses.count(k)) << "track 5 note " << k;
}

TEST_F(Soundtrack, SectionsFallWhereTheShowChangesScene)
{
    const std::vector<int> kicks = note_ons(3), hits = note_ons(2), accents = note_ons(7);
    ASSERT_FALSE(kicks.empty());
    ASSERT_FALSE(hits.empty());
    EXPECT_NEAR(hits.front(), 3000, 1) << "hits from 3 s, for the title";
    EXPECT_NEAR(kicks.front(), 14500, 1) << "the kick enters with the spike ball";
    for (int t : kicks)
        EXPECT_FALSE(t > 25500 && t < 27300) << "a kick in the break at " << t;
    for (int t : hits)
        EXPECT_FALSE(t > 25500 && t < 27300) << "a hit in the break at " << t;
    // Hits about every half bar (one second) while they run.
    int gaps = 0, halfBar = 0;
    for (size_t i = 1; i < hits.size(); ++i) {
        const int d = hits[i] - hits[i - 1];
        gaps += d < 4000;
        halfBar += d >= 990 && d <= 1010;
    }
    EXPECT_GT(halfBar * 10, gaps * 7);
    // Accents are sparse and start phrases: never closer than a bar.
    EXPECT_LE(accents.size(), 16u);
    for (size_t i = 1; i < accents.size(); ++i)
        EXPECT_GE(accents[i] - accents[i - 1], 2000);
    // Nothing sounds after the end.
    for (const cEvent* e : s_baked->queue.events()) {
        if (e->id == DE_MIDI) {
            EXPECT_LE(e->time, 93000);
        }
    }
}

TEST_F(Soundtrack, MarkerScriptStartsWithS00AndQuitsAfterTheMusic)
{
    std::unique_ptr<cEventQueue> q(cEventQueue_factory::loadFile(MARKERS));
    ASSERT_TRUE(q);
    std::ostringstream log;
    cMidiReader::append_to_queue(s_baked->midi, *q, 0.0f, log);
    int firstScene = -1, firstSceneTime = -1;
    for (const cEvent* e : q->events())
        if (e->id >= DE_SCENE_00 && e->id <= DE_SCENE_100) {
            firstScene = e->id;
            firstSceneTime = e->time;
            break;
        }
    EXPECT_EQ(firstScene, DE_SCENE_00);
    EXPECT_EQ(firstSceneTime, 0);
    ASSERT_FALSE(q->events().empty());
    EXPECT_EQ(q->events().back()->id, DE_QUIT) << "quit is the last thing the show fires";
    const cEvent* quit = q->find_quit();
    ASSERT_TRUE(quit);
    EXPECT_GT(quit->time, int(frames() * 1000 / 44100));
    EXPECT_LE(quit->time, 93500) << "just after the music ends";
}

TEST_F(Soundtrack, BakingAgainGivesTheSameBytes)
{
    const std::string dir = make_temp_dir();
    std::string error;
    ASSERT_TRUE(bake_soundtrack(dir, error)) << error;
    EXPECT_TRUE(read_bytes(dir + "/music/GLOAM2.mp3") == read_bytes(MP3)) << "MP3 differs";
    EXPECT_TRUE(read_bytes(dir + "/music/GLOAM2.mid") == s_baked->midiBytes) << "MIDI file differs";
    std::remove((dir + "/music/GLOAM2.mp3").c_str());
    std::remove((dir + "/music/GLOAM2.mid").c_str());
}
}  // namespace
