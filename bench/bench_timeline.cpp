// Loads a marker script of 100 000 lines and a MIDI file of 100 000 notes
// the way the show does (read the file, parse, merge, sort) and reports the
// time and the throughput of each. Run on demand: build/bench/bench_timeline
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/bench_harness.h"
#include "timeline/cEventQueue_factory.h"
#include "timeline/cMidiReader.h"

namespace {

const int LINES = 100000;
const int NOTES = 100000;
const int RUNS = 5;

std::string make_script()
{
    static const char* tokens[] = {"s01", "snare", "beat", "lead", "# comment", "hihatc", "s12", "melody"};
    std::string s = "s00 0:0:0:0\n";
    char line[64];
    // Shuffled times so the sort has work to do.
    uint32_t x = 12345;
    for (int i = 1; i < LINES; ++i) {
        x = x * 1664525u + 1013904223u;
        int ms = int(x % 5400000u);
        std::snprintf(line, sizeof line, "%s %d:%d:%d,%d\n", tokens[i % 8], ms / 3600000, ms / 60000 % 60,
                      ms / 1000 % 60, ms % 1000);
        s += line;
    }
    return s;
}

void vlq(std::string& out, uint32_t v)
{
    char tmp[5];
    int n = 0;
    tmp[n++] = char(v & 0x7F);
    while (v >>= 7)
        tmp[n++] = char(0x80 | (v & 0x7F));
    while (n)
        out += tmp[--n];
}

// Eight tracks of notes, note offs by running status, a controller now and
// then: NOTES note ons in all.
std::string make_midi()
{
    std::string file = std::string("MThd\0\0\0\6\0\1\0\x09\x01\xE0", 14);
    std::string t0;
    vlq(t0, 0);
    t0 += std::string("\xFF\x51\x03\x07\xA1\x20", 6);
    vlq(t0, 0);
    t0 += std::string("\xFF\x2F\x00", 3);
    std::vector<std::string> tracks = {t0};
    for (int k = 0; k < 8; ++k) {
        std::string t;
        vlq(t, 0);
        t += std::string("\xFF\x03\x05track", 8);
        for (int i = 0; i < NOTES / 8; ++i) {
            vlq(t, 60);
            t += char(0x90);
            t += char(36 + (i % 40));
            t += char(100);
            vlq(t, 60);
            t += char(36 + (i % 40));  // running status: velocity 0
            t += char(0);
            if (i % 16 == 0) {
                vlq(t, 0);
                t += char(0xB0);
                t += char(74);
                t += char(i % 128);
            }
        }
        vlq(t, 0);
        t += std::string("\xFF\x2F\x00", 3);
        tracks.push_back(t);
    }
    for (const std::string& t : tracks) {
        uint32_t n = uint32_t(t.size());
        file += "MTrk";
        file += char(n >> 24);
        file += char(n >> 16);
        file += char(n >> 8);
        file += char(n);
        file += t;
    }
    return file;
}

}  // namespace

int main()
{
    const std::string dir = "/tmp";
    const std::string scriptPath = dir + "/bench_markers.txt", midiPath = dir + "/bench_notes.mid";
    std::ofstream(scriptPath, std::ios::binary) << make_script();
    std::ofstream(midiPath, std::ios::binary) << make_midi();
    using namespace bench;
    double bestScript = 1e9, bestMidi = 1e9;
    size_t scriptEvents = 0, midiEvents = 0;
    {
        // The reader's progress lines would only time the terminal.
        QuietStdout quiet;
        for (int run = 0; run < RUNS; ++run) {
            Clock::time_point t0 = Clock::now();
            std::unique_ptr<cEventQueue> q(cEventQueue_factory::loadFile(scriptPath));
            const double s = ms_since(t0);
            scriptEvents = q->size();

            t0 = Clock::now();
            cMidiReader::read_file(midiPath, *q, 0.f);
            const double m = ms_since(t0);
            midiEvents = q->size() - scriptEvents;
            bestScript = std::min(bestScript, s);
            bestMidi = std::min(bestMidi, m);
        }
    }
    char name[96], note[96];
    std::snprintf(name, sizeof name, "marker script (%d lines, %zu events)", LINES, scriptEvents);
    std::snprintf(note, sizeof note, "best of %d; %.0f events/s; target under 100 ms", RUNS,
                  scriptEvents / (bestScript / 1000.0));
    print_ratio(name, bestScript, "ms", {}, note);
    std::snprintf(name, sizeof name, "midi file (%d notes, %zu events merged)", NOTES, midiEvents);
    std::snprintf(note, sizeof note, "best of %d; %.0f events/s; target under 100 ms", RUNS,
                  midiEvents / (bestMidi / 1000.0));
    print_ratio(name, bestMidi, "ms", {}, note);
    std::remove(scriptPath.c_str());
    std::remove(midiPath.c_str());
    return 0;
}
