#pragma once
// The encoded pictures of an H.264 capture segment, read back as they are
// stored, for a join that copies them: each with its timestamps counted
// in frames of the whole range (the slice's first picture is its first
// frame on the range's grid).
#include <cstdint>
#include <string>

#include "segments/segment_info.h"

struct AVCodecParameters;
struct AVPacket;

class cSegmentPackets {
public:
    cSegmentPackets();
    ~cSegmentPackets();
    cSegmentPackets(const cSegmentPackets&) = delete;
    cSegmentPackets& operator=(const cSegmentPackets&) = delete;

    bool open(const std::string& path, const SegmentInfo& info, std::string& error);
    const AVCodecParameters* parameters() const;
    // The next picture's packet into `packet`; false at the end with
    // `error` empty, or with a message.
    bool next(AVPacket* packet, std::string& error);

private:
    struct Impl;
    Impl* m;
};
