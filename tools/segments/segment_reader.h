#pragma once
// Reading a capture segment back (see segment_writer.h): first what it
// says about itself and how many pictures it holds, without decoding them
// (what `wendit join` checks before it writes anything), then the
// pictures of a lossless one one by one, each checked against the
// segment's size and format.
#include <cstdint>
#include <string>
#include <vector>

#include "segments/segment_info.h"

struct SegmentHead {
    SegmentInfo info;
    int64_t pictures = 0;  // pictures stored in the file
    std::string setup;     // the stream's parameters (H.264: SPS and PPS), as stored
};

struct AVFormatContext;
// Opens a segment and finds its one picture stream (H.264 or FFV1); -1
// with a message otherwise.
int open_segment_stream(const std::string& path, AVFormatContext*& fmt, std::string& error);

// False with a message (without the path) when the file cannot be opened,
// is not a segment or its stream does not match its metadata.
bool read_segment_head(const std::string& path, SegmentHead& head, std::string& error);

class cSegmentReader {
public:
    cSegmentReader();
    ~cSegmentReader();
    cSegmentReader(const cSegmentReader&) = delete;
    cSegmentReader& operator=(const cSegmentReader&) = delete;

    bool open(const std::string& path, const SegmentInfo& info, std::string& error);
    // The next picture as BGRA, bottom row first (as the capture reads it
    // back), into `bgra` (resized). False at the end with `error` empty, or
    // with a message when a picture cannot be decoded.
    bool next(std::vector<uint8_t>& bgra, std::string& error);

private:
    struct Impl;
    Impl* m;
};
