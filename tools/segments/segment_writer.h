#pragma once
// A capture segment: the pictures of a slice of a capture's range in
// Matroska, with the range, fps, size and the slice's frames in the
// container's metadata, and a CRC-32 in every top-level element.
//
// By default the slice is H.264 with the capture's own encoder settings,
// made to be joined by copying (it starts on a keyframe, nothing refers
// past its ends, its stream parameters are those of every other slice):
// the worker that renders it also encodes it, and the join only copies.
// With `lossless` it is FFV1 (colour as read back, top row first), so that
// `wendit join` hands the final encoder exactly the pictures a single
// capture would have handed it, at about thirteen times the size.
//
// One file per segment so that finishing a segment is one rename and a
// copy between machines is one file; Matroska because it is open, carries
// checksums (a damaged copy is found without decoding it) and holds any
// metadata we like. A segment plays in any FFmpeg-based player.
#include <cstdint>
#include <string>

#include "encode/frame_out.h"
#include "segments/segment_info.h"

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
