#pragma once
// Builds Standard MIDI Files byte by byte, so tests can say exactly what a
// file holds, including files that are broken on purpose.
#include <cstdint>
#include <string>
#include <vector>

class MidiTrackBuilder {
public:
    // Delta time as a variable-length quantity.
    MidiTrackBuilder& delta(uint32_t ticks)
    {
        uint8_t tmp[5];
        int n = 0;
        tmp[n++] = ticks & 0x7F;
        while (ticks >>= 7)
            tmp[n++] = 0x80 | (ticks & 0x7F);
        while (n)
            bytes.push_back(tmp[--n]);
        return *this;
    }
    MidiTrackBuilder& raw(std::initializer_list<int> b)
    {
        for (int x : b)
            bytes.push_back(uint8_t(x));
        return *this;
    }
    MidiTrackBuilder& on(uint32_t dt, int note, int vel, int channel = 0)
    {
        return delta(dt).raw({0x90 | channel, note, vel});
    }
    MidiTrackBuilder& off(uint32_t dt, int note, int vel = 0, int channel = 0)
    {
        return delta(dt).raw({0x80 | channel, note, vel});
    }
    MidiTrackBuilder& cc(uint32_t dt, int controller, int value, int channel = 0)
    {
        return delta(dt).raw({0xB0 | channel, controller, value});
    }
    MidiTrackBuilder& tempo(uint32_t dt, uint32_t usPerQuarter)
    {
        return delta(dt).raw({0xFF, 0x51, 0x03, int(usPerQuarter >> 16) & 0xFF, int(usPerQuarter >> 8) & 0xFF,
                              int(usPerQuarter) & 0xFF});
    }
    MidiTrackBuilder& name(uint32_t dt, const std::string& n)
    {
        delta(dt).raw({0xFF, 0x03, int(n.size())});
        bytes.insert(bytes.end(), n.begin(), n.end());
        return *this;
    }
    MidiTrackBuilder& end(uint32_t dt = 0) { return delta(dt).raw({0xFF, 0x2F, 0x00}); }

    std::vector<uint8_t> bytes;
};

class MidiFileBuilder {
public:
    explicit MidiFileBuilder(int division, int format = 1) : m_division(division), m_format(format) {}

    MidiFileBuilder& track(const MidiTrackBuilder& t)
    {
        m_tracks.push_back(t.bytes);
        return *this;
    }
    // Declares a track count other than the number of tracks given.
    MidiFileBuilder& declare_tracks(int n)
    {
        m_declared = n;
        return *this;
    }

    std::vector<uint8_t> bytes() const
    {
        std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
        int n = m_declared >= 0 ? m_declared : int(m_tracks.size());
        push16(out, m_format);
        push16(out, n);
        push16(out, m_division);
        for (const auto& t : m_tracks) {
            out.insert(out.end(), {'M', 'T', 'r', 'k'});
            push32(out, uint32_t(t.size()));
            out.insert(out.end(), t.begin(), t.end());
        }
        return out;
    }
    std::string str() const
    {
        auto b = bytes();
        return std::string(b.begin(), b.end());
    }

private:
    static void push16(std::vector<uint8_t>& v, int x)
    {
        v.push_back(uint8_t(x >> 8));
        v.push_back(uint8_t(x));
    }
    static void push32(std::vector<uint8_t>& v, uint32_t x)
    {
        for (int s = 24; s >= 0; s -= 8)
            v.push_back(uint8_t(x >> s));
    }

    int m_division;
    int m_format;
    int m_declared = -1;
    std::vector<std::vector<uint8_t>> m_tracks;
};
