// The MIDI reader: which events a file puts on the timeline and when, and
// how it refuses files it cannot read.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "support/midi_builder.h"
#include "timeline/cMidiReader.h"
#include "timeline/iMidiEvent.h"

namespace {

struct Row {
    int time, id, track, kind, data1, data2;
    bool operator==(const Row& o) const
    {
        return time == o.time && id == o.id && track == o.track && kind == o.kind && data1 == o.data1 &&
               data2 == o.data2;
    }
};
std::ostream& operator<<(std::ostream& os, const Row& r)
{
    return os << '{' << r.time << ',' << r.id << ',' << r.track << ',' << r.kind << ',' << r.data1 << ','
              << r.data2 << '}';
}

struct Read {
    cEventQueue queue;
    std::string log;
    std::vector<Row> midi;  // DE_MIDI events in queue order
    std::vector<int> beats;
};

std::unique_ptr<Read> read(const std::vector<uint8_t>& bytes, float beatOffset = 0.f)
{
    auto r = std::make_unique<Read>();
    MidiFile f;
    std::string error;
    std::ostringstream log;
    EXPECT_TRUE(cMidiReader::parse(bytes.data(), bytes.size(), f, error, log)) << error;
    cMidiReader::append_to_queue(f, r->queue, beatOffset, log);
    r->log = log.str();
    for (const cEvent* e : r->queue.events()) {
        if (auto m = dynamic_cast<const iMidiEvent*>(e))
            r->midi.push_back({m->time, m->id, m->track, m->kind, m->data1, m->data2});
        else if (e->id == DE_MIDI_BEAT)
            r->beats.push_back(e->time);
    }
    return r;
}

std::string parse_error(const std::vector<uint8_t>& bytes)
{
    MidiFile f;
    std::string error;
    std::ostringstream log;
    EXPECT_FALSE(cMidiReader::parse(bytes.data(), bytes.size(), f, error, log));
    return error;
}

std::string write_temp(const std::string& name, const std::vector<uint8_t>& bytes)
{
    std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
}

}  // namespace

TEST(MidiReader, OneTempoGivesNotesBeatsAndItsProgressLines)
{
    MidiTrackBuilder t0;
    t0.name(0, "conductor").tempo(0, 500000).end();
    MidiTrackBuilder t1;
    t1.name(0, "kick").on(0, 36, 100).off(48, 36).on(48, 36, 90).off(48, 36).end(144);
    auto r = read(MidiFileBuilder(96).track(t0).track(t1).bytes());

    std::vector<Row> want = {{0, DE_MIDI, 1, 1, 36, 100},
                             {250, DE_MIDI, 1, 2, 36, 0},
                             {500, DE_MIDI, 1, 1, 36, 90},
                             {750, DE_MIDI, 1, 2, 36, 0}};
    EXPECT_EQ(r->midi, want);
    // The longest track ends at tick 288 = 1500 ms: beats up to and including it.
    EXPECT_EQ(r->beats, (std::vector<int>{0, 500, 1000, 1500}));
    EXPECT_EQ(r->queue.midi_track_names(), (std::vector<std::string>{"conductor", "kick"}));
    EXPECT_EQ(r->log,
              "# midi: Num tracks: 2\n"
              "# midi: Reading tracks from MIDI file...\n"
              "# midi: bpm: 120\n"
              "# midi: manual beat-offset correction: 0 ticks at 500ms per beat / 5.20833\n");
}

TEST(MidiReader, WithoutATempoEventTheFileRunsAt120Bpm)
{
    MidiTrackBuilder t;
    t.on(480, 60, 64).end();
    auto r = read(MidiFileBuilder(480).track(t).bytes());
    ASSERT_EQ(r->midi.size(), 1u);
    EXPECT_EQ(r->midi[0].time, 500);
    EXPECT_EQ(r->beats, (std::vector<int>{0, 500}));
}

TEST(MidiReader, OnlyChannelOneNotesAndControllersBecomeEvents)
{
    MidiTrackBuilder t;
    t.on(0, 60, 0)                      // velocity 0: dropped, not a note off
        .on(0, 61, 100, 1)              // channel 2
        .delta(0).raw({0xA0, 61, 5})    // aftertouch
        .delta(0).raw({0xC0, 3})        // program change: one data byte
        .delta(0).raw({0xE0, 0, 64})    // pitch bend
        .cc(0, 74, 20)
        .cc(0, 7, 100)
        .cc(0, 74, 30)
        .cc(0, 1, 9, 1)                 // controller on channel 2
        .on(0, 62, 100)
        .end();
    auto r = read(MidiFileBuilder(96).track(t).bytes());
    std::vector<Row> want = {
        {0, DE_MIDI, 0, 3, 74, 20}, {0, DE_MIDI, 0, 3, 7, 100}, {0, DE_MIDI, 0, 3, 74, 30}, {0, DE_MIDI, 0, 1, 62, 100}};
    EXPECT_EQ(r->midi, want);
    EXPECT_EQ(r->queue.midi_controllers(), (std::vector<int>{7, 74}));
    for (const cEvent* e : r->queue.events())
        if (e->id == DE_MIDI) {
            bool controller = dynamic_cast<const cMECtrlChange*>(e) != nullptr;
            EXPECT_EQ(controller, static_cast<const iMidiEvent*>(e)->kind == 3);
        }
}

TEST(MidiReader, TheLastTempoInTrackOrderConvertsEveryTick)
{
    MidiTrackBuilder t0;
    t0.tempo(0, 500000).on(96, 60, 1).end();
    MidiTrackBuilder t1;
    t1.tempo(0, 1000000).end();  // 60 bpm, read after track 0's tempo
    auto r = read(MidiFileBuilder(96).track(t0).track(t1).bytes());
    ASSERT_EQ(r->midi.size(), 1u);
    EXPECT_EQ(r->midi[0].time, 1000);
    EXPECT_EQ(r->beats, (std::vector<int>{0, 1000}));
}

TEST(MidiReader, RunningStatusSysexAndUnknownMetaEvents)
{
    MidiTrackBuilder t;
    t.name(0, "first")
        .on(0, 60, 100)
        .delta(10).raw({62, 100})                       // running status
        .delta(0).raw({0xF0, 0x03, 0x7E, 0x7F, 0xF7})   // sysex
        .delta(0).raw({0xFF, 0x01, 0x02, 'h', 'i'})     // text meta
        .delta(0).raw({0xFF, 0x58, 0x04, 4, 2, 24, 8})  // time signature
        .delta(10).raw({64, 0})                         // running status still 0x90: velocity 0 dropped
        .name(0, "second")
        .end();
    auto r = read(MidiFileBuilder(96).track(t).bytes());
    std::vector<Row> want = {{0, DE_MIDI, 0, 1, 60, 100}, {52, DE_MIDI, 0, 1, 62, 100}};
    EXPECT_EQ(r->midi, want);
    EXPECT_EQ(r->queue.midi_track_names(), std::vector<std::string>{"second"});
}

TEST(MidiReader, BeatOffsetShiftsMidiEventsButNotBeats)
{
    MidiTrackBuilder t;
    t.tempo(0, 500000).on(96, 60, 100).end();
    auto r = read(MidiFileBuilder(96).track(t).bytes(), 0.5f);
    ASSERT_EQ(r->midi.size(), 1u);
    EXPECT_EQ(r->midi[0].time, 750);
    EXPECT_EQ(r->beats, (std::vector<int>{0, 500}));
    EXPECT_NE(r->log.find("correction: 0.5 ticks at 500ms per beat"), std::string::npos);
}

TEST(MidiReader, SmpteDivisionConvertsFramesAndMakesNoBeats)
{
    // 25 frames per second, 40 ticks per frame: one tick per millisecond.
    MidiTrackBuilder t;
    t.tempo(0, 250000).on(1234, 60, 100).end(5000);
    auto r = read(MidiFileBuilder(int16_t(0xE728)).track(t).bytes());
    ASSERT_EQ(r->midi.size(), 1u);
    EXPECT_EQ(r->midi[0].time, 1234);
    EXPECT_TRUE(r->beats.empty());

    EXPECT_EQ(parse_error(MidiFileBuilder(int16_t(0xE900)).track(t).bytes()), "Illegal SMPTE frame code");
    EXPECT_NE(parse_error(MidiFileBuilder(int16_t(0xE700)).track(t).bytes()), "");
}

TEST(MidiReader, ABeatEveryMillisecondStopsAtTheCap)
{
    // Tempo of 1 µs per quarter: a beat every 0.001 ms would never end in
    // memory; the reader stops counting beats at its cap.
    MidiTrackBuilder t;
    t.tempo(0, 1).end(0x0FFFFFFF);
    auto r = read(MidiFileBuilder(1).track(t).bytes());
    EXPECT_EQ(r->beats.size(), cMidiReader::MAX_BEATS);
}

TEST(MidiReader, FormatErrorsNameTheTrackAndTheOffset)
{
    EXPECT_EQ(parse_error({'R', 'I', 'F', 'F', 0, 0, 0, 6}), "This is not a valid MIDI file!");
    EXPECT_EQ(parse_error({}), "This is not a valid MIDI file!");
    EXPECT_EQ(parse_error({'M', 'T', 'h', 'd', 0, 0}), "The MIDI header ends early at byte offset 6");

    MidiTrackBuilder good;
    good.on(0, 60, 100).end();
    auto twoTracks = MidiFileBuilder(96).track(good).track(good).bytes();
    auto badChunk = twoTracks;
    badChunk[14 + 8 + good.bytes.size()] = 'X';  // second chunk's "MTrk"
    EXPECT_EQ(parse_error(badChunk), "Track 2/2 is invalid!");

    auto longChunk = twoTracks;
    longChunk[14 + 7] = 0x7F;  // first chunk claims 127 bytes
    EXPECT_EQ(parse_error(longChunk),
              "Track 1/2: chunk length 127 runs past the end of the file at byte offset 18");

    auto cutHeader = MidiFileBuilder(96).track(good).bytes();
    cutHeader.resize(cutHeader.size() - good.bytes.size() - 3);
    EXPECT_EQ(parse_error(cutHeader), "Track 1/1: chunk header runs past the end of the file at byte offset 14");

    struct Case {
        MidiTrackBuilder track;
        std::string error;
    };
    std::vector<Case> cases(6);
    cases[0].track.on(0, 60, 100).delta(0).raw({0x90, 61});
    cases[0].error = "Track 1/1: event data byte runs past the end of the track at byte offset 29";
    cases[1].track.delta(0).raw({0xFF, 0x03, 0x10, 'a'});
    cases[1].error = "Track 1/1: meta event runs past the end of the track at byte offset 26";
    cases[2].track.raw({0x81, 0x80});
    cases[2].error = "Track 1/1: delta time runs past the end of the track at byte offset 24";
    cases[3].track.raw({0xFF, 0xFF, 0xFF, 0xFF, 0x7F});
    cases[3].error = "Track 1/1: delta time is longer than four bytes at byte offset 26";
    cases[4].track.delta(0).raw({0xF0, 0x05, 0x01});
    cases[4].error = "Track 1/1: system exclusive event runs past the end of the track at byte offset 25";
    cases[5].track.delta(0).raw({60, 100});
    cases[5].error = "Track 1/1: data byte without a running status at byte offset 23";
    for (const Case& c : cases)
        EXPECT_EQ(parse_error(MidiFileBuilder(96).track(c.track).bytes()), c.error);
}

TEST(MidiReader, AShortTrackListTakesTheTracksThatAreThere)
{
    MidiTrackBuilder t;
    t.on(0, 60, 100).end();
    auto r = read(MidiFileBuilder(96).track(t).declare_tracks(3).bytes());
    EXPECT_EQ(r->midi.size(), 1u);
    EXPECT_EQ(r->queue.midi_track_names().size(), 1u);
    EXPECT_NE(r->log.find("Num tracks: 3"), std::string::npos);
}

TEST(MidiReaderDeathTest, AFormatErrorEndsTheShowWithExitCode1)
{
    std::string path = write_temp("broken.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0, 96, 'X'});
    cEventQueue q;
    EXPECT_EXIT(cMidiReader::read_file(path, q, 0.f), testing::ExitedWithCode(1),
                "# mid FATAL ERROR: Track 1/1: chunk header runs past the end of the file at byte offset 14 "
                "\\(file \"[^\"]*broken.mid\"\\)\n");
    std::string notMidi = write_temp("not.mid", {'h', 'e', 'l', 'l', 'o'});
    EXPECT_EXIT(cMidiReader::read_file(notMidi, q, 0.f), testing::ExitedWithCode(1),
                "# mid FATAL ERROR: This is not a valid MIDI file! \\(file \"[^\"]*not.mid\"\\)\n");
}

TEST(MidiReader, AMissingFileAddsNothing)
{
    cEventQueue q;
    q.append(new cEvent(0, 0));
    testing::internal::CaptureStderr();
    cMidiReader::read_file("/nonexistent/song.mid", q, 0.f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "# midi: Unable to open file '/nonexistent/song.mid'!\n");
    EXPECT_EQ(q.size(), 1u);
    EXPECT_TRUE(q.midi_track_names().empty());
}

TEST(MidiReader, MergesIntoTheMarkerQueueSortedByTime)
{
    MidiTrackBuilder t;
    t.on(96, 60, 100).end();
    auto bytes = MidiFileBuilder(96).track(t).bytes();
    std::string path = write_temp("merge.mid", bytes);
    cEventQueue q;
    q.append(new cEvent(DE_QUIT, 800));
    q.append(new cEvent(DE_SCENE_00, 500));
    testing::internal::CaptureStdout();
    cMidiReader::read_file(path, q, 0.f);
    testing::internal::GetCapturedStdout();
    std::vector<std::pair<int, int>> got;
    for (const cEvent* e : q.events())
        got.emplace_back(e->time, e->id);
    // The marker at 500 came first, so it stays before the note and beat at 500.
    std::vector<std::pair<int, int>> want = {{0, DE_MIDI_BEAT}, {500, DE_SCENE_00}, {500, DE_MIDI}, {500, DE_MIDI_BEAT}, {800, DE_QUIT}};
    EXPECT_EQ(got, want);
}
