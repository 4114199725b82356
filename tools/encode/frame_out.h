#pragma once
// Where the capture's pictures are encoded: the final video (cVideoWriter)
// or a segment of a longer capture (cSegmentWriter). The frame
// sink's worker thread hands every read-back picture to one of these, in
// order, and completes the file once all are in.
#include <cstdint>
#include <string>

class iFrameOut {
public:
    virtual ~iFrameOut() = default;
    // One picture: width x height BGRA pixels, bottom row first (as GL
    // reads them).
    virtual bool add_frame(const uint8_t* bgra, std::string& error) = 0;
    // Drains the encoder and completes the file.
    virtual bool finish(std::string& error) = 0;
};
