#pragma once
// A media file decoded with FFmpeg's libraries, independently of the
// capture's own writer: its streams, a checksum per decoded picture and the
// decoded sound.
#include <cstdint>
#include <string>
#include <vector>

struct DecodedMedia {
    bool ok = false;
    std::string error;
    int videoStreams = 0, audioStreams = 0;
    std::string videoCodec, audioCodec, pixelFormat;
    int width = 0, height = 0;
    double fps = 0.0;
    std::vector<uint64_t> frameSums;  // one per decoded picture, in order
    // The first picture's planes, rows packed (Y full size, Cb and Cr half).
    std::vector<uint8_t> firstY, firstCb, firstCr;
    // Every picture's planes, rows packed, when asked for; and every
    // picture's time in milliseconds.
    std::vector<std::vector<uint8_t>> pictures;
    std::vector<int64_t> timesMs;
    double videoSeconds = 0.0;        // frames / fps
    int rate = 0, channels = 0;
    std::vector<float> left;          // the first channel
};

DecodedMedia decode_media(const std::string& path, bool keepPictures = false);

// Peak signal-to-noise ratio of two 8-bit pictures of one size, in dB
// (identical: infinity).
double psnr_db(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);
