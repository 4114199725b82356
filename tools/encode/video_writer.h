#pragma once
// The capture's video file: H.264 pictures (yuv420p, BT.709, constant
// quality near visually lossless) and the show's music as AAC, in MP4,
// written with FFmpeg's libraries.
//
// The music is handed over whole (the decoded samples the player holds);
// the writer takes the samples of exactly the captured span from
// `firstSample` on, and with each picture encodes the sound up to the end
// of that picture, so both streams grow together and end together.
#include <cstdint>
#include <string>

#include "encode/frame_out.h"

struct AVCodecParameters;
struct AVPacket;

struct VideoSpec {
    int width = 1280, height = 720, fps = 30;
    int crf = 18;
    const int16_t* pcm = nullptr;  // interleaved stereo; null: no sound stream
    int64_t pcmFrames = 0;
    int64_t firstSample = 0;  // may lie beyond the music: silence
    int rate = 44100;
};

class cVideoWriter : public iFrameOut {
public:
    cVideoWriter();
    ~cVideoWriter() override;  // an unfinished file is closed as it is
    cVideoWriter(const cVideoWriter&) = delete;
    cVideoWriter& operator=(const cVideoWriter&) = delete;

    bool open(const std::string& path, const VideoSpec& format, std::string& error);
    // The same file from pictures encoded already (slices joined by
    // copying): `video` describes their stream; add_packet instead of
    // add_frame.
    bool open_copy(const std::string& path, const VideoSpec& format, const AVCodecParameters* video,
                   std::string& error);
    // One encoded picture, in decode order, its timestamps in frames of
    // the whole video (1/fps); the packet is consumed.
    bool add_packet(AVPacket* packet, std::string& error);
    // One picture: width x height BGRA pixels, bottom row first (as GL
    // reads them).
    bool add_frame(const uint8_t* bgra, std::string& error) override;
    // Drains the encoders and completes the file.
    bool finish(std::string& error) override;
    int64_t frames() const;

private:
    bool open_file(const std::string& path, const VideoSpec& format, const AVCodecParameters* copied,
                   std::string& error);
    struct Impl;
    Impl* m;
};
