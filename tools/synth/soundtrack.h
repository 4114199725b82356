#pragma once
// The show's soundtrack as baked files: the score rendered, mastered so that
// the decoded MP3 reads -14 LUFS and peaks under -1 dBFS, and the same score
// as a MIDI file. Both come from one score, so every note of the MIDI file falls
// on the sample where the audio plays it.
#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

constexpr int SOUNDTRACK_RATE = 44100;
constexpr int SOUNDTRACK_KBPS = 192;
// The highest sample the decoded MP3 may reach.
constexpr double SOUNDTRACK_DECODED_PEAK_DBFS = -1.0;

struct SoundtrackFiles {
    std::vector<uint8_t> mp3;
    std::vector<uint8_t> midi;
    double loudness = 0.0;  // LUFS of the MP3 as decoded
    double peak = 0.0;      // dBFS of the mastered audio before encoding
};

bool make_soundtrack(const Score& score, SoundtrackFiles& out, std::string& error);

// Writes show_assets::MUSIC and show_assets::MIDI under dataDir.
bool bake_soundtrack(const std::string& dataDir, std::string& error);
