#pragma once
// Encodes stereo audio as MP3 (constant bit rate, joint stereo) with the
// encoder's information frame at the start, which records its delay and
// padding so that decoders can return exactly the encoded samples. No tags,
// no time stamps: the same audio gives the same bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

bool encode_mp3(const StereoBuffer& audio, int kbps, std::vector<uint8_t>& out, std::string& error);
