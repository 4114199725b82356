#pragma once
// A capture segment: the pictures of a slice of a capture's range, stored
// lossless (FFV1 in Matroska, colour as read back, top row first), with the
// range, fps, size and the slice's frames in the container's metadata.
//
// Lossless so that `wendit join` hands the final encoder exactly the
// pictures a single capture would have handed it; one file per segment so
// that finishing a segment is one rename and a copy between machines is
// one file; FFV1 in Matroska because both stream and container are open,
// carry per-slice checksums (a damaged copy is found when it is decoded)
// and hold any metadata we like. A segment plays in any FFmpeg-based player.
#include <cstdint>
#include <string>

#include "capture/frame_out.h"
#include "capture/segment_info.h"

class cSegmentWriter : public iFrameOut {
public:
    cSegmentWriter();
    ~cSegmentWriter() override;  // an unfinished file is closed as it is
    cSegmentWriter(const cSegmentWriter&) = delete;
    cSegmentWriter& operator=(const cSegmentWriter&) = delete;

    bool open(const std::string& path, const SegmentInfo& info, std::string& error);
    bool add_frame(const uint8_t* bgra, std::string& error) override;
    bool finish(std::string& error) override;

private:
    struct Impl;
    Impl* m;
};
