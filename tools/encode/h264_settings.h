#pragma once
// The capture's H.264 encoder and colour conversion, in one place, so that
// the whole capture and the slices a farm encodes one by one are made with
// the very same settings: yuv420p, BT.709, constant quality near visually
// lossless, a keyframe every two seconds.
#include <cstdint>
#include <string>

struct AVCodecContext;
struct AVFrame;
struct SwsContext;

struct H264Setup {
    int width = 1280, height = 720, fps = 30;
    int crf = 18;
    bool globalHeader = false;  // the container keeps the stream parameters (MP4, Matroska)
    // A slice of a longer video that is joined to the others by copying:
    // identical stream parameters in every slice, whatever its pictures.
    bool stitchable = false;
};

// The opened encoder, or null with a message.
AVCodecContext* open_capture_h264(const H264Setup& setup, std::string& error);

// BGRA, bottom row first (as GL reads it) to yuv420p BT.709 limited range.
SwsContext* capture_colour_converter(int width, int height);
void convert_capture_picture(SwsContext* sws, const uint8_t* bgra, int width, int height, AVFrame* picture);
