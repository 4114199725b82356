#pragma once
// Decodes a whole MP3 file to interleaved 16-bit stereo PCM at a fixed rate,
// with the encoder's delay and padding removed (the track's gapless
// information), so that frame 0 is the first sample of the music.
#include <cstdint>
#include <string>
#include <vector>

enum class Mp3DecodeResult {
    ok,
    not_found,    // the file cannot be opened
    bad_format,   // not an MP3 stream: no frame could be decoded
    bad_data,     // decoding failed part-way through
    no_memory,
};

Mp3DecodeResult decode_mp3_file(const std::string& path, int rate, std::vector<int16_t>& pcm,
                                std::string& detail);
// The same from an open file descriptor (read from its current position;
// the caller keeps and closes it).
Mp3DecodeResult decode_mp3_fd(int fd, int rate, std::vector<int16_t>& pcm, std::string& detail);
