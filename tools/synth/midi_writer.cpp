#include "midi_writer.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

struct TimedEvent {
    uint32_t tick;
    int order;  // at one tick: note offs, then controllers, then note ons
    uint8_t bytes[3];
};

void put_be(std::vector<uint8_t>& out, uint32_t v, int n)
{
    for (int i = n - 1; i >= 0; --i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void put_vlq(std::vector<uint8_t>& out, uint32_t v)
{
    uint8_t tmp[5];
    int n = 0;
    tmp[n++] = v & 0x7F;
    while (v >>= 7)
        tmp[n++] = uint8_t(0x80 | (v & 0x7F));
    while (n)
        out.push_back(tmp[--n]);
}

// Meta events with a one-byte length: the reader takes names, tempo and
// time signature that way, so texts are cut to 127 bytes.
void put_meta(std::vector<uint8_t>& out, uint8_t type, const std::string& data)
{
    out.push_back(0xFF);
    out.push_back(type);
    const size_t n = std::min<size_t>(data.size(), 127);
    out.push_back(uint8_t(n));
    out.insert(out.end(), data.begin(), data.begin() + long(n));
}

uint32_t to_tick(double beat)
{
    return uint32_t(std::llround(std::max(beat, 0.0) * MIDI_TICKS_PER_QUARTER));
}

uint8_t clamp7(int v)
{
    return uint8_t(std::clamp(v, 0, 127));
}

void put_chunk(std::vector<uint8_t>& file, const std::vector<uint8_t>& track)
{
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    put_be(file, uint32_t(track.size()), 4);
    file.insert(file.end(), track.begin(), track.end());
}

void end_track(std::vector<uint8_t>& t, uint32_t delta)
{
    put_vlq(t, delta);
    t.insert(t.end(), {0xFF, 0x2F, 0x00});
}
}  // namespace

std::vector<uint8_t> write_midi(const Score& score)
{
    const int trackCount = int(std::max<size_t>(score.tracks.size(), 1));
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
    put_be(file, 6, 4);
    put_be(file, 1, 2);
    put_be(file, uint32_t(trackCount), 2);
    put_be(file, MIDI_TICKS_PER_QUARTER, 2);

    // Track 0: tempo, time signature, the piece's name.
    {
        std::vector<uint8_t> t;
        const uint32_t usPerQuarter = uint32_t(std::lround(60000000.0 / score.bpm));
        put_vlq(t, 0);
        put_meta(t, 0x03, score.name);
        put_vlq(t, 0);
        put_meta(t, 0x51, std::string{char(usPerQuarter >> 16), char(usPerQuarter >> 8), char(usPerQuarter)});
        put_vlq(t, 0);
        // numerator, denominator as a power of two, clocks per click, 32nds per quarter
        put_meta(t, 0x58, std::string{char(score.beatsPerBar), 2, 24, 8});
        end_track(t, to_tick(score.lengthBeats));
        put_chunk(file, t);
    }

    for (int tr = 1; tr < trackCount; ++tr) {
        std::vector<TimedEvent> ev;
        for (const ScoreNote& n : score.notes) {
            if (n.track != tr)
                continue;
            const uint32_t on = to_tick(n.beat);
            const uint32_t off = std::max(on + 1, to_tick(n.beat + n.length));
            ev.push_back({on, 2, {0x90, clamp7(n.key), uint8_t(std::clamp(n.velocity, 1, 127))}});
            ev.push_back({off, 0, {0x80, clamp7(n.key), 64}});
        }
        for (const ScoreControl& c : score.controls)
            if (c.track == tr)
                ev.push_back({to_tick(c.beat), 1, {0xB0, clamp7(c.controller), clamp7(c.value)}});
        std::stable_sort(ev.begin(), ev.end(), [](const TimedEvent& a, const TimedEvent& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });

        std::vector<uint8_t> t;
        put_vlq(t, 0);
        put_meta(t, 0x03, score.tracks[size_t(tr)]);
        uint32_t now = 0;
        for (const TimedEvent& e : ev) {
            put_vlq(t, e.tick - now);
            now = e.tick;
            t.insert(t.end(), e.bytes, e.bytes + 3);
        }
        end_track(t, 0);
        put_chunk(file, t);
    }
    return file;
}
