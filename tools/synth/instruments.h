#pragma once
// The synthesizer's instruments. Each renders one note into the mix buses,
// from its start sample to the end of its release; what a note sounds like
// depends on the score track it belongs to and, for drums, its key.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

struct Buses {
    int rate = 44100;
    size_t frames = 0;
    std::vector<float> dryL, dryR;    // drums, accents, the lead
    std::vector<float> duckL, duckR;  // pads and bass: pushed down by the kick
    std::vector<float> verb;          // reverb send (mono)
    std::vector<float> echo;          // delay send (mono)

    void allocate(int sampleRate, size_t n);
};

struct NoteCtx {
    size_t start;       // first sample
    size_t hold;        // samples until the note's release
    float key;          // MIDI note number
    float velocity;     // 0..1
    uint32_t seed;      // for noise: differs per note, same every render
};

// The lead's filter cutoff in the controller's 0..127 range at a sample.
using ControlAt = std::function<float(size_t sample)>;

void render_pad(const NoteCtx& n, Buses& b);
void render_hit(const NoteCtx& n, Buses& b);
void render_kick(const NoteCtx& n, Buses& b);
void render_bass(const NoteCtx& n, Buses& b);
void render_percussion(const NoteCtx& n, Buses& b);
void render_lead(const NoteCtx& n, Buses& b, const ControlAt& cutoff);
void render_accent(const NoteCtx& n, Buses& b);
// A rising noise sweep over the note's length (the pad track's keys from
// RISER_KEY up).
void render_riser(const NoteCtx& n, Buses& b);

constexpr int RISER_KEY = 96;
