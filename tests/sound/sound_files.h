#pragma once
// Files the sound tests play: small MP3s encoded from known signals, a text
// file that is not audio, a damaged MP3. Each test gets its own directory.
#include <cstdint>
#include <string>
#include <vector>

#include "synth/synth.h"

// A fresh directory under the system's temporary directory.
std::string make_temp_dir();
void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> read_bytes(const std::string& path);

// `seconds` of a signal that never repeats (a chirp under noise), so every
// position and every offset between two copies can be told apart.
StereoBuffer test_signal(double seconds);

// Encodes `audio` to an MP3 file at `path`.
void write_mp3(const std::string& path, const StereoBuffer& audio);
