#pragma once
// One file written through FFmpeg's libraries, the one way every encoder of
// the tools writes: the container made, a stream added for each opened
// encoder (which the file owns from then on) or for pictures encoded
// elsewhere, the header written; then each frame sent to its encoder and
// every packet that comes out written at once, stamped in its stream's time
// base; at the end every encoder drained, in the order its stream was
// added, the trailer written and the file closed.
//
// Messages name the file as the writer calls it ("the video file", "the
// segment"). A file abandoned halfway is closed as it is; the caller
// removes it (it writes FILE.part and renames it only when complete).
#include <string>
#include <utility>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

class cEncodedFile {
public:
    explicit cEncodedFile(std::string noun);
    ~cEncodedFile();
    cEncodedFile(const cEncodedFile&) = delete;
    cEncodedFile& operator=(const cEncodedFile&) = delete;

    // The container, by FFmpeg's short name ("mp4", "matroska"); `label`
    // names it in the message when this FFmpeg has no such writer ("MP4").
    bool create(const char* container, const char* label, const std::string& path, std::string& error);
    AVFormatContext* container() const { return m_fmt; }
    // Whether the container keeps the stream parameters itself: its
    // encoders then put them there instead of in every keyframe.
    bool global_header() const;

    // A stream fed by `enc` (opened; owned by the file from now on, also
    // when this fails), its time base and frame rate those of the encoder.
    AVStream* add_encoder(AVCodecContext* enc, std::string& error);
    // A stream whose packets come encoded already (write_packet).
    AVStream* add_copied_stream(std::string& error);

    // Creates the file on disk and writes the header with the container's
    // options (name, value).
    using Options = std::vector<std::pair<std::string, std::string>>;
    bool open(const Options& options, std::string& error);
    // Sends `frame` to the encoder of `stream` and writes what comes out.
    bool encode(const AVStream* stream, const AVFrame* frame, std::string& error);
    // One packet encoded elsewhere, its timestamps in its stream's time
    // base; the packet is consumed.
    bool write_packet(AVPacket* packet, std::string& error);
    // Drains every encoder, writes the trailer and closes the file.
    bool finish(std::string& error);

private:
    bool send(AVCodecContext* enc, AVStream* stream, const AVFrame* frame, std::string& error);

    std::string m_noun;
    AVFormatContext* m_fmt = nullptr;
    AVPacket* m_pkt = nullptr;
    std::vector<std::pair<AVCodecContext*, AVStream*>> m_encoders;
};

// A picture to fill for `enc`: its pixel format and size, buffers
// allocated; null when there is no memory.
AVFrame* new_encoder_picture(const AVCodecContext* enc);
// Makes `picture` safe to fill again (the encoder may still hold the last
// one); false with a message when there is no memory.
bool writable_picture(AVFrame* picture, std::string& error);
