// `wendit timeline` as a person writing a marker script uses it.
#include <gtest/gtest.h>

#include <fstream>

#include "support/midi_builder.h"
#include "support/run_tool.h"

namespace {
std::string write(const std::string& name, const std::string& content)
{
    std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}
}  // namespace

TEST(WenditTimeline, ListsMarkersAndMidiMergedInFiringOrder)
{
    std::string markers = write("tl_markers.txt", "s00 0:0:0:0\nbeats 0:0:1:0\nsnare 0:0:0:250\nquit 0:0:1:0\n");
    MidiTrackBuilder t0;
    t0.name(0, "tempo").tempo(0, 500000).end();
    MidiTrackBuilder t1;
    t1.name(0, "lead\tline").on(48, 60, 100).cc(0, 74, 12).off(48, 60, 64).end();
    std::string midi = write("tl.mid", MidiFileBuilder(96).track(t0).track(t1).str());

    ToolRun r = run_tool("./wendit timeline --markers '" + markers + "' --midi '" + midi + "'");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "# warning, " + markers + ":2: unknown token beats in cEventQueue_factory::eventtoken_parse\n");
    EXPECT_EQ(r.out,
              "# midi: Num tracks: 2\n"
              "# midi: Reading tracks from MIDI file...\n"
              "# midi: bpm: 120\n"
              "# midi: manual beat-offset correction: 0 ticks at 500ms per beat / 5.20833\n"
              "# midi track 0: tempo\n"
              "# midi track 1: lead?line\n"
              "# midi controllers: 74\n"
              "# time_ms\tid\tname\ttrack\tkind\tdata1\tdata2\n"
              "0\t0\ts00\t-\t-\t-\t-\n"
              "0\t40\tmidibeat\t-\t-\t-\t-\n"
              "250\t26\tsnare\t-\t-\t-\t-\n"
              "250\t39\tmidi\t1\t1\t60\t100\n"
              "250\t39\tmidi\t1\t3\t74\t12\n"
              "500\t39\tmidi\t1\t2\t60\t64\n"
              "500\t40\tmidibeat\t-\t-\t-\t-\n"
              "1000\t41\tquit\t-\t-\t-\t-\n");
}

TEST(WenditTimeline, FailsAsTheShowDoes)
{
    std::string markers = write("tl_markers2.txt", "s00 0:0:0:0\n");
    ToolRun bad = run_tool("./wendit timeline --markers '" + markers + "' --midi '" +
                           write("tl_bad.mid", std::string("MThd\0\0\0\6\0\1\0\1\0\140MTrk\0\0\0\50", 22)) + "'");
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("# mid FATAL ERROR: Track 1/1: chunk length 40 runs past the end of the file"),
              std::string::npos)
        << bad.err;

    ToolRun noMidi = run_tool("./wendit timeline --markers '" + markers + "' --midi /nonexistent.mid");
    EXPECT_EQ(noMidi.exitCode, 0);
    EXPECT_EQ(noMidi.err, "# midi: Unable to open file '/nonexistent.mid'!\n");
    EXPECT_NE(noMidi.out.find("0\t0\ts00\t-\t-\t-\t-\n"), std::string::npos);

    ToolRun noScript = run_tool("./wendit timeline --markers /nonexistent.txt");
    EXPECT_EQ(noScript.exitCode, 1);
    EXPECT_EQ(noScript.out.substr(0, 19), "Error reading file ");

    ToolRun usage = run_tool("./wendit timeline --bogus");
    EXPECT_EQ(usage.exitCode, 2);
}
