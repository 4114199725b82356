#include "timeline/cMidiReader.h"

#include <cmath>
#include <cstdarg>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "timeline/iMidiEvent.h"
#include "util/fatal_exit.h"
#include "util/file_bytes.h"

namespace {

// A cursor over one byte range that refuses to read past its end. A failed
// read records what was being read and where, for the error message.
class cByteReader {
public:
    cByteReader(const uint8_t* data, size_t pos, size_t end) : m_data(data), m_pos(pos), m_end(end) {}

    bool at_end() const { return m_pos >= m_end; }
    size_t pos() const { return m_pos; }

    bool byte(uint8_t& b, const char* what)
    {
        if (m_pos >= m_end)
            return fail(what);
        b = m_data[m_pos++];
        return true;
    }
    bool peek(uint8_t& b, const char* what)
    {
        if (m_pos >= m_end)
            return fail(what);
        b = m_data[m_pos];
        return true;
    }
    // Variable-length quantity: 7 bits a byte, most significant first, bit 7
    // set on all but the last byte. Four bytes at most, as files write them.
    bool vlq(uint32_t& v, const char* what)
    {
        v = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b;
            if (!byte(b, what))
                return false;
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return true;
        }
        m_failPos = m_pos;
        m_what = what;
        m_tooLong = true;
        return false;
    }
    bool skip(uint32_t n, const char* what)
    {
        if (n > m_end - m_pos) {
            m_failPos = m_pos;  // where the overrunning part starts
            m_what = what;
            return false;
        }
        m_pos += n;
        return true;
    }
    const uint8_t* here() const { return m_data + m_pos; }

    const char* what() const { return m_what; }
    size_t fail_pos() const { return m_failPos; }
    bool too_long() const { return m_tooLong; }

private:
    bool fail(const char* what)
    {
        m_failPos = m_pos;
        m_what = what;
        return false;
    }

    const uint8_t* m_data;
    size_t m_pos;
    size_t m_end;
    const char* m_what = "";
    size_t m_failPos = 0;
    bool m_tooLong = false;
};

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...)
{
    char buf[512];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    return buf;
}

uint32_t be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
uint16_t be16(const uint8_t* p)
{
    return uint16_t(p[0] << 8 | p[1]);
}

// ms of demo time, kept inside the int range whatever the file says.
int to_ms(double ms)
{
    if (!(ms == ms))
        return 0;
    if (ms >= double(INT_MAX))
        return INT_MAX;
    if (ms <= double(INT_MIN))
        return INT_MIN;
    return int(ms);
}

std::string track_error(const cByteReader& r, int track, int ntracks)
{
    if (r.too_long())
        return format("Track %d/%d: %s is longer than four bytes at byte offset %zu", track + 1,
                      ntracks, r.what(), r.fail_pos());
    return format("Track %d/%d: %s runs past the end of the track at byte offset %zu", track + 1,
                  ntracks, r.what(), r.fail_pos());
}

// Reads one track's events into t. False with error set on a format error.
bool read_track(const uint8_t* data, MidiTrack& t, int index, MidiFile& f, std::string& error,
                std::ostream& log)
{
    cByteReader r(data, t.start, t.end);
    uint64_t tick = 0;
    uint8_t running = 0;  // channel status only: meta and sysex events don't set it
    const int ntracks = f.declaredTracks;

    while (!r.at_end()) {
        uint32_t delta;
        if (!r.vlq(delta, "delta time"))
            return error = track_error(r, index, ntracks), false;
        tick += delta;

        uint8_t status;
        if (!r.peek(status, "event status"))
            return error = track_error(r, index, ntracks), false;
        if (status & 0x80) {
            r.byte(status, "event status");
            if (status < 0xF0)
                running = status;
        } else {
            if (running == 0) {
                error = format("Track %d/%d: data byte without a running status at byte offset %zu",
                               index + 1, ntracks, r.pos());
                return false;
            }
            status = running;
        }

        if (status < 0xF0) {
            MidiChannelEvent ev{tick, status, 0, 0};
            uint8_t hi = status >> 4;
            if (!r.byte(ev.data1, "event data byte"))
                return error = track_error(r, index, ntracks), false;
            if (hi != 0xC && hi != 0xD && !r.byte(ev.data2, "event data byte"))
                return error = track_error(r, index, ntracks), false;
            if (t.events.size() == t.events.capacity())
                t.events.reserve(t.events.size() + 1024);
            t.events.push_back(ev);
        } else if (status == 0xFF) {
            uint8_t type;
            uint32_t len;
            if (!r.byte(type, "meta event type") || !r.vlq(len, "meta event length"))
                return error = track_error(r, index, ntracks), false;
            const uint8_t* body = r.here();
            if (!r.skip(len, "meta event"))
                return error = track_error(r, index, ntracks), false;
            if (type == 0x51) {
                // Tempo: microseconds per quarter note in three bytes. Only
                // meaningful for a file counted in quarter notes.
                if (len >= 3) {
                    uint32_t usPerQuarter = uint32_t(body[0]) << 16 | uint32_t(body[1]) << 8 | body[2];
                    if (usPerQuarter > 0) {
                        double bpm = 60000000.0 / usPerQuarter;
                        if (f.division > 0)
                            f.secondsPerTick = 60.0 / bpm / f.division;
                        log << "# midi: bpm: " << bpm << std::endl;
                    }
                }
            } else if (type == 0x03) {
                t.name.assign(reinterpret_cast<const char*>(body), len);
            }
        } else if (status == 0xF0 || status == 0xF7) {
            // System exclusive: a length, then that many bytes.
            uint32_t len;
            if (!r.vlq(len, "system exclusive length") || !r.skip(len, "system exclusive event"))
                return error = track_error(r, index, ntracks), false;
        } else {
            // Other system messages do not belong in a file; skip their data.
            uint32_t n = status == 0xF2 ? 2 : (status == 0xF1 || status == 0xF3) ? 1 : 0;
            if (!r.skip(n, "system message data"))
                return error = track_error(r, index, ntracks), false;
        }
    }
    if (tick > f.longestTicks)
        f.longestTicks = tick;
    return true;
}

}  // namespace

bool cMidiReader::parse(const uint8_t* data, size_t size, MidiFile& f, std::string& error,
                        std::ostream& log)
{
    f = MidiFile();
    if (size < 4 || std::memcmp(data, "MThd", 4) != 0) {
        error = "This is not a valid MIDI file!";
        return false;
    }
    if (size < 14) {
        error = format("The MIDI header ends early at byte offset %zu", size);
        return false;
    }
    f.format = be16(data + 8);
    f.declaredTracks = be16(data + 10);
    f.division = int16_t(be16(data + 12));
    log << "# midi: Num tracks: " << f.declaredTracks << std::endl;

    if (f.division > 0) {
        f.secondsPerTick = 0.5 / f.division;  // 120 bpm until a tempo event
    } else {
        int fps = -int(int8_t(uint8_t(f.division >> 8)));
        double rate = fps == 29 ? 29.97 : double(fps);
        if (fps != 24 && fps != 25 && fps != 29 && fps != 30) {
            error = "Illegal SMPTE frame code";
            return false;
        }
        int ticksPerFrame = f.division & 0xFF;
        if (ticksPerFrame == 0) {
            error = "Illegal SMPTE resolution of 0 ticks per frame";
            return false;
        }
        f.secondsPerTick = 1.0 / (rate * ticksPerFrame);
    }

    size_t pos = 14;
    while (pos < size && int(f.tracks.size()) < f.declaredTracks) {
        int number = int(f.tracks.size()) + 1;
        if (size - pos < 8) {
            error = format("Track %d/%d: chunk header runs past the end of the file at byte offset %zu",
                           number, f.declaredTracks, pos);
            return false;
        }
        if (std::memcmp(data + pos, "MTrk", 4) != 0) {
            error = format("Track %d/%d is invalid!", number, f.declaredTracks);
            return false;
        }
        uint32_t len = be32(data + pos + 4);
        if (len > size - pos - 8) {
            error = format("Track %d/%d: chunk length %u runs past the end of the file at byte offset %zu",
                           number, f.declaredTracks, len, pos + 4);
            return false;
        }
        MidiTrack t;
        t.start = pos + 8;
        t.end = t.start + len;
        f.tracks.push_back(t);
        pos = t.end;
    }

    log << "# midi: Reading tracks from MIDI file..." << std::endl;
    for (size_t i = 0; i < f.tracks.size(); ++i)
        if (!read_track(data, f.tracks[i], int(i), f, error, log))
            return false;
    return true;
}

void cMidiReader::append_to_queue(const MidiFile& f, cEventQueue& queue, float beatOffset,
                                  std::ostream& log)
{
    const double spt = f.secondsPerTick;
    std::set<int> controllers;
    std::vector<iMidiEvent*> added;

    for (size_t ti = 0; ti < f.tracks.size(); ++ti) {
        const int track = int(ti);
        for (const MidiChannelEvent& ev : f.tracks[ti].events) {
            int ms = to_ms(spt * double(ev.tick) * 1000.0);
            iMidiEvent* e = nullptr;
            if (ev.status == 0x80) {
                e = new cMETrigger(ms, iMidiEvent::KIND_NOTE_OFF, track, ev.data1, ev.data2);
            } else if (ev.status == 0x90) {
                if (ev.data2 == 0)
                    continue;  // velocity 0: dropped, not turned into a note off
                e = new cMETrigger(ms, iMidiEvent::KIND_NOTE_ON, track, ev.data1, ev.data2);
            } else if (ev.status == 0xB0) {
                e = new cMECtrlChange(ms, track, ev.data1, ev.data2);
                controllers.insert(ev.data1);
            } else {
                continue;
            }
            queue.append(e);
            added.push_back(e);
        }
    }

    const double msPerBeat = f.division * spt * 1000.0;
    log << "# midi: manual beat-offset correction: " << beatOffset << " ticks at " << msPerBeat
        << "ms per beat" << " / " << spt * 1000.0 << std::endl;

    if (queue.size() > 0) {
        int shift = to_ms(double(beatOffset) * msPerBeat);
        if (shift != 0)
            for (iMidiEvent* e : added)
                e->time = to_ms(double(e->time) + shift);
    }

    // One beat event per beat from 0 up to the first beat at or after the
    // end of the longest track. A file counted in SMPTE frames has no beat.
    const int end = to_ms(double(f.longestTicks) * spt * 1000.0);
    if (msPerBeat > 0.0 && std::isfinite(msPerBeat)) {
        for (size_t k = 0;; ++k) {
            if (k == MAX_BEATS) {
                log << "# midi: warning, beat events stop after " << MAX_BEATS << " beats" << std::endl;
                break;
            }
            int t = to_ms(double(k) * msPerBeat);
            queue.append(new cEvent(DE_MIDI_BEAT, t));
            if (t >= end)
                break;
        }
    }

    for (const MidiTrack& t : f.tracks)
        queue.midi_track_names().push_back(t.name);
    for (int c : controllers)
        queue.midi_controllers().push_back(c);
    queue.sort();
}

void cMidiReader::read_file(const std::string& path, cEventQueue& queue, float beatOffset)
{
    std::vector<char> bytes;
    if (!read_file_bytes(path, bytes)) {
        std::fprintf(stderr, "# midi: Unable to open file '%s'!\n", path.c_str());
        return;
    }
    MidiFile f;
    std::string error;
    if (!cMidiReader::parse(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), f, error)) {
        std::fflush(stdout);
        std::fprintf(stderr, "# mid FATAL ERROR: %s (file \"%s\")\n", error.c_str(), path.c_str());
        std::fflush(stderr);
        end_process(1);
    }
    append_to_queue(f, queue, beatOffset);
}
