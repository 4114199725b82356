#include "segments/segment_reader.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/crc.h>
#include <libavutil/intreadwrite.h>
}

#include "encode/av_text.h"
#include "segments/mkv_checksums.h"

namespace {
// Every slice of an FFV1 picture (version 3, with slice checksums) ends
// with its size (24 bits), an error byte and a CRC-32 parity that makes the
// CRC of the whole slice zero; walking them from the end must land exactly
// on the packet's start. The decoder only logs a failed checksum and
// patches the slice up from the previous picture, so a segment damaged on
// a disk or on its way between machines is caught here, before anything
// is joined.
bool slices_intact(const uint8_t* data, int size)
{
    const AVCRC* table = av_crc_get_table(AV_CRC_32_IEEE);
    constexpr int TRAILER = 3 + 5;
    const uint8_t* end = data + size;
    while (end > data) {
        if (end - data < TRAILER)
            return false;
        const int64_t v = int64_t(AV_RB24(end - TRAILER)) + TRAILER;
        if (v > end - data || av_crc(table, 0, end - v, size_t(v)) != 0)
            return false;
        end -= v;
    }
    return size > 0;
}

}  // namespace

int open_segment_stream(const std::string& path, AVFormatContext*& fmt, std::string& error)
{
    // Damage is reported once, in our own words, naming the file.
    av_log_set_level(AV_LOG_QUIET);
    int r = avformat_open_input(&fmt, path.c_str(), nullptr, nullptr);
    if (r < 0) {
        error = "cannot be read: " + av_text(r);
        return -1;
    }
    if ((r = avformat_find_stream_info(fmt, nullptr)) < 0) {
        error = "not a capture segment (" + av_text(r) + ")";
        return -1;
    }
    int found = -1;
    for (unsigned i = 0; i < fmt->nb_streams; ++i)
        if (fmt->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            const AVCodecID codec = fmt->streams[i]->codecpar->codec_id;
            if (found >= 0 || (codec != AV_CODEC_ID_FFV1 && codec != AV_CODEC_ID_H264)) {
                error = "not a capture segment (a segment holds one H.264 or FFV1 picture stream)";
                return -1;
            }
            found = int(i);
        }
    if (found < 0)
        error = "not a capture segment (no picture stream)";
    return found;
}

namespace {
// Counts the pictures of an H.264 slice and checks that the first is a
// keyframe; the bytes themselves are checked against the container's
// checksums, without decoding.
bool count_h264_pictures(AVFormatContext* fmt, int stream, const std::string& path, SegmentHead& head,
                         std::string& error)
{
    AVPacket* pkt = av_packet_alloc();
    head.pictures = 0;
    int r;
    bool keyFirst = true;
    while ((r = av_read_frame(fmt, pkt)) >= 0) {
        if (pkt->stream_index == stream) {
            if (head.pictures == 0)
                keyFirst = (pkt->flags & AV_PKT_FLAG_KEY) != 0;
            ++head.pictures;
        }
        av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    if (r != AVERROR_EOF) {
        error = "damaged after picture " + std::to_string(head.pictures) + ": " + av_text(r);
        return false;
    }
    if (head.pictures > 0 && !keyFirst) {
        error = "damaged: its first picture is not a keyframe";
        return false;
    }
    const MkvCheck check = check_mkv_checksums(path);
    // A copy that broke off is reported by the join as incomplete, with the
    // pictures it still holds; one that holds them all but lacks its end is
    // damaged all the same.
    if (!check.intact && !(check.truncated && head.pictures < head.info.span.count())) {
        error = check.problem;
        return false;
    }
    return true;
}
}  // namespace

bool read_segment_head(const std::string& path, SegmentHead& head, std::string& error)
{
    AVFormatContext* fmt = nullptr;
    const int stream = open_segment_stream(path, fmt, error);
    bool ok = stream >= 0;
    if (ok) {
        SegmentTags tags;
        for (const AVDictionaryEntry* e = nullptr; (e = av_dict_get(fmt->metadata, "", e, AV_DICT_IGNORE_SUFFIX));)
            tags[e->key] = e->value;
        ok = parse_segment_tags(tags, head.info, error);
    }
    if (ok) {
        const AVCodecParameters* par = fmt->streams[stream]->codecpar;
        head.info.lossless = par->codec_id == AV_CODEC_ID_FFV1;
        const AVPixelFormat expected = head.info.lossless ? AV_PIX_FMT_BGR0 : AV_PIX_FMT_YUV420P;
        if (par->width != head.info.width || par->height != head.info.height || par->format != expected) {
            error = "damaged: its pictures are not the " + std::to_string(head.info.width) + "x" +
                    std::to_string(head.info.height) + " its metadata gives";
            ok = false;
        }
        head.setup.assign(reinterpret_cast<const char*>(par->extradata), size_t(par->extradata_size));
    }
    if (ok && !head.info.lossless) {
        error.clear();
        ok = count_h264_pictures(fmt, stream, path, head, error);
    } else if (ok) {
        AVPacket* pkt = av_packet_alloc();
        head.pictures = 0;
        error.clear();
        int r;
        while ((r = av_read_frame(fmt, pkt)) >= 0) {
            const bool mine = pkt->stream_index == stream;
            const bool intact = !mine || slices_intact(pkt->data, pkt->size);
            av_packet_unref(pkt);
            if (!intact) {
                error = "damaged: picture " + std::to_string(head.pictures) + " fails its checksum";
                break;
            }
            if (mine)
                ++head.pictures;
        }
        av_packet_free(&pkt);
        if (error.empty() && r != AVERROR_EOF)
            error = "damaged after picture " + std::to_string(head.pictures) + ": " + av_text(r);
        ok = error.empty();
    }
    avformat_close_input(&fmt);
    return ok;
}

struct cSegmentReader::Impl {
    SegmentInfo info;
    AVFormatContext* fmt = nullptr;
    AVCodecContext* dec = nullptr;
    AVPacket* pkt = nullptr;
    AVFrame* picture = nullptr;
    int stream = -1;
    int64_t done = 0;
    bool draining = false;

    ~Impl()
    {
        avformat_close_input(&fmt);
        avcodec_free_context(&dec);
        av_packet_free(&pkt);
        av_frame_free(&picture);
    }
};

cSegmentReader::cSegmentReader() : m(new Impl) {}
cSegmentReader::~cSegmentReader()
{
    delete m;
}

bool cSegmentReader::open(const std::string& path, const SegmentInfo& info, std::string& error)
{
    m->info = info;
    if (!info.lossless) {
        error = "an H.264 segment is joined by copying its packets, not decoded";
        return false;
    }
    m->stream = open_segment_stream(path, m->fmt, error);
    if (m->stream < 0)
        return false;
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_FFV1);
    if (!codec) {
        error = "no FFV1 decoder in this FFmpeg";
        return false;
    }
    m->dec = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(m->dec, m->fmt->streams[m->stream]->codecpar);
    m->dec->thread_count = 2;
    m->dec->thread_type = FF_THREAD_SLICE;  // pictures come out in order, one per packet
    // A slice whose checksum fails is an error, not a picture patched up.
    m->dec->err_recognition = AV_EF_CRCCHECK | AV_EF_EXPLODE;
    int r = avcodec_open2(m->dec, codec, nullptr);
    if (r < 0) {
        error = "the FFV1 decoder did not open: " + av_text(r);
        return false;
    }
    m->pkt = av_packet_alloc();
    m->picture = av_frame_alloc();
    return true;
}

bool cSegmentReader::next(std::vector<uint8_t>& bgra, std::string& error)
{
    error.clear();
    for (;;) {
        int r = avcodec_receive_frame(m->dec, m->picture);
        if (r == 0)
            break;
        if (r == AVERROR_EOF)
            return false;
        if (r != AVERROR(EAGAIN)) {
            error = "picture " + std::to_string(m->done) + " cannot be decoded: " + av_text(r);
            return false;
        }
        if (m->draining)
            return false;
        r = av_read_frame(m->fmt, m->pkt);
        if (r == AVERROR_EOF) {
            m->draining = true;
            avcodec_send_packet(m->dec, nullptr);
            continue;
        }
        if (r < 0) {
            error = "damaged after picture " + std::to_string(m->done) + ": " + av_text(r);
            return false;
        }
        if (m->pkt->stream_index == m->stream)
            r = avcodec_send_packet(m->dec, m->pkt);
        av_packet_unref(m->pkt);
        if (r < 0) {
            error = "picture " + std::to_string(m->done) + " cannot be decoded: " + av_text(r);
            return false;
        }
    }
    const AVFrame* f = m->picture;
    const int w = m->info.width, h = m->info.height;
    if (f->decode_error_flags || (f->flags & AV_FRAME_FLAG_CORRUPT)) {
        av_frame_unref(m->picture);
        error = "picture " + std::to_string(m->done) + " is damaged";
        return false;
    }
    if (f->width != w || f->height != h || f->format != AV_PIX_FMT_BGR0) {
        av_frame_unref(m->picture);
        error = "picture " + std::to_string(m->done) + " is not " + std::to_string(w) + "x" + std::to_string(h) +
                " BGR";
        return false;
    }
    // Back to the read-back's order: bottom row first.
    const size_t row = size_t(w) * 4;
    bgra.resize(row * size_t(h));
    for (int y = 0; y < h; ++y)
        std::memcpy(bgra.data() + row * size_t(h - 1 - y), f->data[0] + int64_t(y) * f->linesize[0], row);
    av_frame_unref(m->picture);
    ++m->done;
    return true;
}
