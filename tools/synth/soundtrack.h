#pragma once
// The show's soundtrack as baked files: the score rendered, mastered to
// -14 LUFS under a -1.5 dBFS ceiling and encoded, and the same score as a
// MIDI file. Both come from one score, so every note of the MIDI file falls
// on the sample where the audio plays it.
#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

constexpr int SOUNDTRACK_RATE = 44100;
constexpr int SOUNDTRACK_KBPS = 192;

struct SoundtrackFiles {
    std::vector<uint8_t> mp3;
    std::vector<uint8_t> midi;
    double loudness = 0.0;  // LUFS of the mastered audio
    double peak = 0.0;      // dBFS of the mastered audio
};

// Renders and masters the soundtrack's audio.
StereoBuffer render_soundtrack(const Score& score, double* loudness = nullptr);

bool make_soundtrack(const Score& score, SoundtrackFiles& out, std::string& error);

// Writes "music/GLOAM2.mp3" and "music/GLOAM2.mid" under dataDir.
bool bake_soundtrack(const std::string& dataDir, std::string& error);
