// The MIDI writer, read back by the show's own MIDI reader.
#include <gtest/gtest.h>

#include <sstream>

#include "synth/midi_writer.h"
#include "timeline/cMidiReader.h"
#include "timeline/iMidiEvent.h"

namespace {

struct ReadBack {
    MidiFile file;
    cEventQueue queue;
    std::string log;
};

void read_back(const Score& s, ReadBack& out)
{
    const std::vector<uint8_t> bytes = write_midi(s);
    std::string error;
    std::ostringstream log;
    ASSERT_TRUE(cMidiReader::parse(bytes.data(), bytes.size(), out.file, error, log)) << error;
    cMidiReader::append_to_queue(out.file, out.queue, 0.0f, log);
    out.log = log.str();
}

Score small_score()
{
    Score s;
    s.name = "Test piece";
    s.bpm = 100.0;
    s.lengthBeats = 8.0;
    s.tracks = {"Test piece", "one", "two"};
    return s;
}

TEST(MidiWriter, NotesAndControllersComeBackAtTheirTimes)
{
    Score s = small_score();
    s.notes.push_back({2, 1.0, 0.5, 38, 100});
    s.notes.push_back({1, 0.0, 4.0, 57, 64});
    s.notes.push_back({2, 3.25, 0.25, 39, 0});  // velocity 0 would read as no note
    s.controls.push_back({2, 2.0, 74, 99});
    ReadBack r;
    read_back(s, r);

    EXPECT_NE(r.log.find("# midi: bpm: 100"), std::string::npos) << r.log;
    ASSERT_EQ(r.file.tracks.size(), 3u);
    EXPECT_EQ(r.file.tracks[0].name, "Test piece");
    EXPECT_EQ(r.file.tracks[1].name, "one");
    EXPECT_EQ(r.file.tracks[2].name, "two");
    EXPECT_EQ(r.queue.midi_controllers(), std::vector<int>{74});

    // At 100 bpm a beat is 600 ms.
    struct Want {
        int time, kind, track, data1, data2;
    };
    const Want want[] = {{0, 1, 1, 57, 64},    {600, 1, 2, 38, 100}, {900, 2, 2, 38, 64},
                         {1200, 3, 2, 74, 99}, {1950, 1, 2, 39, 1},  {2100, 2, 2, 39, 64},
                         {2400, 2, 1, 57, 64}};
    std::vector<const iMidiEvent*> got;
    for (const cEvent* e : r.queue.events())
        if (const iMidiEvent* m = dynamic_cast<const iMidiEvent*>(e))
            got.push_back(m);
    ASSERT_EQ(got.size(), std::size(want));
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i]->time, want[i].time, 1) << i;
        EXPECT_EQ(got[i]->kind, want[i].kind) << i;
        EXPECT_EQ(got[i]->track, want[i].track) << i;
        EXPECT_EQ(got[i]->data1, want[i].data1) << i;
        EXPECT_EQ(got[i]->data2, want[i].data2) << i;
    }
}

TEST(MidiWriter, RepeatedNoteEndsBeforeItStartsAgain)
{
    Score s = small_score();
    s.notes.push_back({1, 0.0, 1.0, 60, 90});
    s.notes.push_back({1, 1.0, 1.0, 60, 90});
    ReadBack r;
    read_back(s, r);
    const std::vector<MidiChannelEvent>& ev = r.file.tracks[1].events;
    ASSERT_EQ(ev.size(), 4u);
    EXPECT_EQ(ev[1].status, 0x80) << "the first note's end comes first at the shared tick";
    EXPECT_EQ(ev[2].status, 0x90);
    EXPECT_EQ(ev[1].tick, ev[2].tick);
}

TEST(MidiWriter, EveryEventIsOnChannelOneWithFullStatusBytes)
{
    Score s = small_score();
    for (int i = 0; i < 16; ++i)
        s.notes.push_back({2, i * 0.25, 0.2, 40 + i, 100});
    s.controls.push_back({2, 0.5, 74, 10});
    const std::vector<uint8_t> bytes = write_midi(s);
    // No running status: every event's status byte is written out.
    size_t ons = 0, offs = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) {
        ons += bytes[i] == 0x90 && bytes[i + 1] >= 40 && bytes[i + 1] < 56;
        offs += bytes[i] == 0x80 && bytes[i + 1] >= 40 && bytes[i + 1] < 56;
    }
    EXPECT_EQ(ons, 16u);
    EXPECT_EQ(offs, 16u);
    ReadBack r;
    read_back(s, r);
    for (const MidiChannelEvent& e : r.file.tracks[2].events)
        EXPECT_EQ(e.status & 0x0F, 0) << "channel 1";
}

TEST(MidiWriter, LongNamesAreCutToWhatTheReaderTakes)
{
    Score s = small_score();
    s.tracks[1] = std::string(300, 'n');
    ReadBack r;
    read_back(s, r);
    EXPECT_EQ(r.file.tracks[1].name, std::string(127, 'n'));
}
}  // namespace
