// "Gloam": the soundtrack of the show, 120 beats per minute, 4/4, A minor,
// 93 seconds. One beat is half a second, so a time in the show is twice its
// seconds in beats: the kick comes in at 14.5 s = beat 29.
//
// Sections (beats, seconds):
//     0- 29   0.0-14.5  opening: pads, claps from 3 s, a riser into...
//    29- 51  14.5-25.5  first groove: kick, bass, hats
//    51- 55  25.5-27.5  break: drums out, a swell
//    55- 76  27.5-38.0  second groove with the lead
//    76- 84  38.0-42.0  transition: the kick drops out, the filter closes
//    84-104  42.0-52.0  middle: half-time, toms, a darker progression
//   104-110  52.0-55.0  the rise
//   110-135  55.0-67.5  drop
//   135-169  67.5-84.5  last section, the lead at full tilt
//   169-186  84.5-93.0  credits: drums thin out, the music fades
//
// Tracks: 1 pad (and noise risers), 2 hits, 3 kick, 4 bass, 5 percussion
// (36 and 48 toms, 42 closed and 46 open hat, 54 tambourine), 6 lead with
// its filter on controller 74, 7 accents at phrase starts.
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>

#include "instruments.h"
#include "score.h"

namespace {

enum Track { PAD = 1, HITS = 2, KICK = 3, BASS = 4, PERC = 5, LEAD = 6, ACCENT = 7 };

enum Drum { TOM_LOW = 36, SNARE = 38, CLAP = 39, HAT = 42, OPEN_HAT = 46, TOM_HIGH = 48, CRASH = 49, TAMBOURINE = 54 };

// "A4", "C#5", "Bb3" -> MIDI note number (C4 = 60).
int key(const std::string& name)
{
    static const int BASE[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.empty() || name[0] < 'A' || name[0] > 'G')
        throw std::invalid_argument("bad note name " + name);
    int k = BASE[name[0] - 'A'];
    size_t i = 1;
    for (; i < name.size() && (name[i] == '#' || name[i] == 'b'); ++i)
        k += name[i] == '#' ? 1 : -1;
    return k + 12 * (std::atoi(name.c_str() + i) + 1);
}

class Writer {
public:
    explicit Writer(Score& s) : m_s(s) {}

    void note(int track, double beat, double length, int k, int velocity)
    {
        m_s.notes.push_back({track, beat, length, k, velocity});
    }

    // One character per step from `from` up to (not including) `to`, the
    // pattern repeating: 'x' full velocity, 'o' soft, '.' nothing.
    void pattern(int track, int k, double from, double to, double step, const std::string& steps, int velocity,
                 double length = 0.1)
    {
        size_t i = 0;
        for (double b = from; b < to - 1e-9; b += step, ++i) {
            const char c = steps[i % steps.size()];
            if (c == 'x')
                note(track, b, length, k, velocity);
            else if (c == 'o')
                note(track, b, length, k, velocity * 3 / 5);
        }
    }

    // "A4:1.5 C5:.5 -:1": notes with lengths in beats, "-" a rest. Returns
    // the beat after the last one.
    double melody(int track, double from, const std::string& text, int velocity, double gate = 0.92)
    {
        std::istringstream in(text);
        std::string tok;
        double b = from;
        while (in >> tok) {
            const size_t colon = tok.find(':');
            const double len = std::atof(tok.c_str() + colon + 1);
            const std::string name = tok.substr(0, colon);
            if (name != "-")
                note(track, b, len * gate, key(name), velocity);
            b += len;
        }
        return b;
    }

    // Controller moves every `step` beats, straight from v0 to v1.
    void ramp(int track, int controller, double from, double to, int v0, int v1, double step = 0.5)
    {
        for (double b = from; b < to + 1e-9; b += step) {
            const double x = (b - from) / (to - from);
            m_s.controls.push_back({track, b, controller, int(std::lround(v0 + (v1 - v0) * x))});
        }
    }

private:
    Score& m_s;
};

struct Chord {
    const char* bass;
    const char* pad;  // chord tones, lowest first
};

// The chord of each bar (four beats).
Chord chord_of_bar(int bar)
{
    static const Chord AM{"A1", "A3 C4 E4 B4"}, F{"F1", "F3 A3 C4 E4"}, C{"C2", "G3 C4 E4 D5"},
        G{"G1", "G3 B3 D4 G4"}, DM{"D2", "A3 D4 F4 C5"}, E{"E1", "G#3 B3 E4 B4"};
    static const Chord MAIN[4] = {AM, F, C, G};
    static const Chord MIDDLE[4] = {DM, AM, F, E};
    if (bar < 21)
        return MAIN[bar % 4];
    if (bar < 33)
        return MIDDLE[(bar - 21) % 4];
    if (bar == 33)
        return E;  // the second E bar leans into the last section
    if (bar < 42)
        return MAIN[(bar - 34) % 4];
    static const Chord OUTRO[5] = {F, G, AM, AM, AM};
    return OUTRO[std::min(bar - 42, 4)];
}

void pads(Writer& w)
{
    for (int bar = 0; bar < 47; ++bar) {
        const double b = bar * 4.0;
        int vel = 96;
        if (b < 24)
            vel = 62 + bar * 4;  // the opening grows
        else if (b >= 168)
            vel = 88;
        std::istringstream tones(chord_of_bar(bar).pad);
        std::string t;
        while (tones >> t)
            w.note(PAD, b, bar == 46 ? 2.0 : 4.0, key(t), vel);
    }
    // Risers lead into the kick, out of the break, into the middle, the drop
    // and the last section.
    // Each stops a sixteenth short of its goal: the moment of silence makes
    // the drop land.
    const double gap = 0.25;
    w.note(PAD, 21, 8 - gap, RISER_KEY, 100);
    w.note(PAD, 51, 4 - gap, RISER_KEY, 110);
    w.note(PAD, 80, 4 - gap, RISER_KEY, 80);
    w.note(PAD, 104, 6 - gap, RISER_KEY, 110);
    w.note(PAD, 131, 4 - gap, RISER_KEY, 110);
}

void hits(Writer& w)
{
    w.pattern(HITS, CLAP, 6, 27, 2, "x", 92);         // opening: the title steps on these
    w.pattern(HITS, SNARE, 30, 51, 2, "x", 112);      // first groove
    w.pattern(HITS, SNARE, 56, 76, 2, "x", 112);      // second groove
    w.pattern(HITS, CLAP, 76, 84, 2, "x", 96);        // transition
    w.pattern(HITS, CLAP, 86, 104, 4, "x", 84);       // middle, half time
    w.pattern(HITS, SNARE, 104, 110, 2, "x", 104);    // rise
    w.pattern(HITS, SNARE, 110, 135, 2, "x", 114);    // drop
    w.note(HITS, 135, 0.1, SNARE, 127);               // the head flashes in
    w.pattern(HITS, SNARE, 136, 169, 2, "x", 116);    // last section
    w.pattern(HITS, CLAP, 172, 183, 4, "x", 80);      // credits
}

void kick(Writer& w)
{
    w.pattern(KICK, 36, 29, 51, 1, "x", 120);
    w.pattern(KICK, 36, 55, 76, 1, "x", 120);
    w.pattern(KICK, 36, 84, 104, 2, "x", 104);
    w.pattern(KICK, 36, 104, 108, 1, "x", 110);
    w.pattern(KICK, 36, 108, 110, 0.5, "x", 118);
    w.pattern(KICK, 36, 110, 135, 1, "x", 122);
    w.pattern(KICK, 36, 135, 169, 1, "x", 124);
    w.pattern(KICK, 36, 169, 177, 2, "x", 100);
}

// Bass on the chord roots: `steps` is one bar of sixteenths.
void bass_line(Writer& w, double from, double to, const std::string& steps, int vel, double len = 0.2)
{
    for (double b = from; b < to - 1e-9; b += 0.25) {
        const int step = int(std::lround(b * 4)) % 16;
        const char c = steps[size_t(step)];
        if (c == '.')
            continue;
        const int root = key(chord_of_bar(int(b / 4)).bass);
        w.note(BASS, b, len, root + (c == '^' ? 12 : 0), c == 'o' ? vel * 3 / 5 : vel);
    }
}

void bass(Writer& w)
{
    const std::string offbeat = "..x...x...x...x.";
    const std::string driving = "..x^..xo..x^..xo";
    bass_line(w, 29, 51, offbeat, 110);
    w.note(BASS, 51, 3.8, key("A1"), 90);
    bass_line(w, 55, 76, driving, 112);
    for (int b = 76; b < 84; b += 4)
        w.note(BASS, b, 3.8, key(chord_of_bar(b / 4).bass), 96);
    bass_line(w, 84, 104, "x.....x.........", 106, 1.2);
    bass_line(w, 104, 110, "x.x.x.x.x.x.x.x.", 108);
    bass_line(w, 110, 135, driving, 114);
    bass_line(w, 135, 169, driving, 116);
    for (int b = 169; b < 181; b += 4)
        w.note(BASS, b, 3.5, key(chord_of_bar(b / 4).bass), 80);
}

void percussion(Writer& w)
{
    w.pattern(PERC, HAT, 16.5, 29, 1, "x", 52);                     // offbeat ticks in the opening
    w.pattern(PERC, HAT, 29, 51, 0.5, "ox", 96);
    w.pattern(PERC, TOM_HIGH, 49, 51, 0.25, "x.xx.xx.", 90);         // fill into the break
    w.pattern(PERC, HAT, 55, 76, 0.5, "ox", 100);
    w.pattern(PERC, OPEN_HAT, 55.5, 76, 2, "x", 90);
    w.pattern(PERC, TAMBOURINE, 56, 76, 2, "x", 80);
    w.pattern(PERC, TAMBOURINE, 76, 84, 1, "x", 84);
    // Middle: a rolling tom figure, hats once the star is there.
    w.pattern(PERC, TOM_HIGH, 84, 104, 0.25, "x..x..x.....x...", 92);
    w.pattern(PERC, TOM_LOW, 84, 104, 0.25, "........x.....x.", 96);
    w.pattern(PERC, HAT, 88, 104, 0.5, "ox", 84);
    for (int i = 0; i < 24; ++i)  // the rise: sixteenths getting louder
        w.note(PERC, 104 + i * 0.25, 0.1, HAT, 40 + i * 3);
    w.pattern(PERC, HAT, 110, 169, 0.5, "ox", 104);
    w.pattern(PERC, OPEN_HAT, 110.5, 169, 2, "x", 92);
    w.pattern(PERC, TAMBOURINE, 110, 169, 2, "x", 84);
    w.pattern(PERC, TOM_HIGH, 133, 135, 0.25, "xx.x", 100);
    w.pattern(PERC, TOM_LOW, 133.5, 135, 0.5, "x", 100);
    w.pattern(PERC, TOM_HIGH, 165, 169, 0.25, "x.x.xxx.", 96);
    w.pattern(PERC, TOM_LOW, 167, 169, 0.25, "x.xx", 104);
    w.pattern(PERC, HAT, 169, 181, 1, "x", 64);
}

void lead(Writer& w)
{
    const std::string themeA = "A4:1.5 C5:.5 E5:1 D5:1  C5:1.5 A4:.5 C5:1 E5:1  "
                               "G5:1.5 E5:.5 D5:1 C5:1  D5:2 B4:1 G4:1";
    const std::string themeB = "A4:1.5 C5:.5 E5:1 A5:1  G5:1.5 E5:.5 F5:1 E5:1  "
                               "C5:1.5 D5:.5 E5:1 G5:1  D5:3 -:1";
    const std::string middle = "F5:3 E5:1  C5:2 E5:2  A5:3 G5:1  G#5:3 -:1";
    const std::string drop = "B4:1.5 G#4:.5 E5:2  F5:1.5 E5:.5 D5:1 A4:1  "
                             "C5:1.5 E5:.5 A5:2  A5:1 G5:1 F5:1 E5:1";

    // The second groove starts on the C bar: the theme from its second half.
    const std::string themeFromC = "G5:1.5 E5:.5 D5:1 C5:1  D5:2 B4:1 G4:1  "
                                   "A4:1.5 C5:.5 E5:1 D5:1  C5:1.5 A4:.5 C5:1 E5:1";
    double b = w.melody(LEAD, 56, themeFromC, 100);
    w.melody(LEAD, b, "E5:4", 96);
    w.melody(LEAD, 84, middle, 88);
    b = w.melody(LEAD, 112, drop, 104);
    w.melody(LEAD, b, "G#5:2 B5:2 G#5:2 E5:2", 100);
    b = w.melody(LEAD, 136, themeA, 110);
    w.melody(LEAD, b, themeB, 112);
    w.melody(LEAD, 172, "D5:1.5 B4:.5 G4:2 A4:6", 84);

    w.ramp(LEAD, 74, 55, 76, 28, 76);
    w.ramp(LEAD, 74, 76.5, 84, 72, 40);
    w.ramp(LEAD, 74, 84.5, 104, 44, 84);
    w.ramp(LEAD, 74, 104.5, 110, 30, 100);
    w.ramp(LEAD, 74, 110.5, 122, 72, 96);
    w.ramp(LEAD, 74, 122.5, 135, 90, 70);
    w.ramp(LEAD, 74, 135.5, 169, 82, 118);
    w.ramp(LEAD, 74, 169.5, 186, 110, 30);
}

void accents(Writer& w)
{
    for (int b : {6, 29, 55, 76, 84, 88, 110, 135, 149, 169})
        w.note(ACCENT, b, 0.5, CRASH, 110);
}
}  // namespace

Score make_gloam_score()
{
    Score s;
    s.name = "Gloam";
    s.bpm = 120.0;
    s.beatsPerBar = 4;
    s.lengthBeats = 186.0;  // 93 s
    s.fadeBeats = 8.0;
    s.tracks = {"Gloam", "pad", "hits", "kick", "bass", "percussion", "lead", "accents"};
    Writer w(s);
    pads(w);
    hits(w);
    kick(w);
    bass(w);
    percussion(w);
    lead(w);
    accents(w);
    return s;
}
