#include "segments/segment_writer.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include "encode/av_text.h"
#include "encode/h264_settings.h"

struct cSegmentWriter::Impl {
    SegmentInfo info;
    AVFormatContext* fmt = nullptr;
    AVCodecContext* enc = nullptr;
    AVStream* st = nullptr;
    AVFrame* picture = nullptr;
    AVPacket* pkt = nullptr;
    SwsContext* sws = nullptr;  // H.264 only
    int64_t frame = 0;

    ~Impl()
    {
        if (fmt && fmt->pb)
            avio_closep(&fmt->pb);
        avformat_free_context(fmt);
        avcodec_free_context(&enc);
        av_frame_free(&picture);
        av_packet_free(&pkt);
        sws_freeContext(sws);
    }

    bool fail(const std::string& what, int code, std::string& error)
    {
        error = what + (code ? ": " + av_text(code) : std::string());
        return false;
    }

    bool open_ffv1(std::string& error)
    {
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_FFV1);
        if (!codec)
            return fail("no FFV1 encoder in this FFmpeg", 0, error);
        enc = avcodec_alloc_context3(codec);
        enc->width = info.width;
        enc->height = info.height;
        enc->time_base = AVRational{1, info.fps};
        enc->framerate = AVRational{info.fps, 1};
        // Blue, green, red and a byte left unused: the read-back order.
        enc->pix_fmt = AV_PIX_FMT_BGR0;
        enc->gop_size = 1;  // every picture decodes alone
        enc->thread_count = 2;
        if (fmt->oformat->flags & AVFMT_GLOBALHEADER)
            enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        AVDictionary* opts = nullptr;
        av_dict_set(&opts, "level", "3", 0);
        av_dict_set(&opts, "slicecrc", "1", 0);  // a damaged picture is noticed, not joined
        av_dict_set(&opts, "slices", "4", 0);    // ...and encoded on two threads
        const int r = avcodec_open2(enc, codec, &opts);
        av_dict_free(&opts);
        if (r < 0)
            return fail("the FFV1 encoder did not open", r, error);
        return true;
    }

    bool open_h264(std::string& error)
    {
        H264Setup setup;
        setup.width = info.width;
        setup.height = info.height;
        setup.fps = info.fps;
        setup.globalHeader = (fmt->oformat->flags & AVFMT_GLOBALHEADER) != 0;
        setup.stitchable = true;
        enc = open_capture_h264(setup, error);
        if (!enc)
            return false;
        sws = capture_colour_converter(info.width, info.height);
        if (!sws)
            return fail("no colour conversion to yuv420p", 0, error);
        return true;
    }

    bool encode(AVFrame* f, std::string& error)
    {
        int r = avcodec_send_frame(enc, f);
        if (r < 0)
            return fail("the encoder refused a frame", r, error);
        for (;;) {
            r = avcodec_receive_packet(enc, pkt);
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
                return true;
            if (r < 0)
                return fail("encoding failed", r, error);
            av_packet_rescale_ts(pkt, enc->time_base, st->time_base);
            pkt->stream_index = st->index;
            r = av_interleaved_write_frame(fmt, pkt);
            if (r < 0)
                return fail("writing the segment failed", r, error);
        }
    }
};

cSegmentWriter::cSegmentWriter() : m(new Impl) {}
cSegmentWriter::~cSegmentWriter()
{
    delete m;
}

bool cSegmentWriter::open(const std::string& path, const SegmentInfo& info, std::string& error)
{
    m->info = info;
    av_log_set_level(AV_LOG_ERROR);
    int r = avformat_alloc_output_context2(&m->fmt, nullptr, "matroska", path.c_str());
    if (r < 0 || !m->fmt)
        return m->fail("no Matroska writer", r, error);
    if (!(info.lossless ? m->open_ffv1(error) : m->open_h264(error)))
        return false;
    m->st = avformat_new_stream(m->fmt, nullptr);
    m->st->time_base = m->enc->time_base;
    m->st->avg_frame_rate = m->enc->framerate;
    avcodec_parameters_from_context(m->st->codecpar, m->enc);
    for (const auto& t : segment_tags(info))
        av_dict_set(&m->fmt->metadata, t.first.c_str(), t.second.c_str(), 0);

    m->pkt = av_packet_alloc();
    m->picture = av_frame_alloc();
    m->picture->format = m->enc->pix_fmt;
    m->picture->width = info.width;
    m->picture->height = info.height;
    if ((r = av_frame_get_buffer(m->picture, 0)) < 0)
        return m->fail("no memory for a picture", r, error);
    if ((r = avio_open(&m->fmt->pb, path.c_str(), AVIO_FLAG_WRITE)) < 0)
        return m->fail("cannot create " + path, r, error);
    AVDictionary* opts = nullptr;
    // A checksum in every top-level element (the default; said here
    // because the join's check of a slice relies on it).
    av_dict_set(&opts, "write_crc32", "1", 0);
    r = avformat_write_header(m->fmt, &opts);
    av_dict_free(&opts);
    if (r < 0)
        return m->fail("cannot write the header of " + path, r, error);
    return true;
}

bool cSegmentWriter::add_frame(const uint8_t* bgra, std::string& error)
{
    int r = av_frame_make_writable(m->picture);
    if (r < 0)
        return m->fail("no memory for a picture", r, error);
    if (m->sws) {
        convert_capture_picture(m->sws, bgra, m->info.width, m->info.height, m->picture);
    } else {
        // GL's rows run bottom-up; the file's top-down, as any player expects.
        const size_t row = size_t(m->info.width) * 4;
        for (int y = 0; y < m->info.height; ++y)
            std::memcpy(m->picture->data[0] + int64_t(y) * m->picture->linesize[0],
                        bgra + row * size_t(m->info.height - 1 - y), row);
    }
    m->picture->pts = m->frame;
    if (!m->encode(m->picture, error))
        return false;
    ++m->frame;
    return true;
}

bool cSegmentWriter::finish(std::string& error)
{
    if (!m->encode(nullptr, error))
        return false;
    int r = av_write_trailer(m->fmt);
    if (r < 0)
        return m->fail("completing the segment failed", r, error);
    r = avio_closep(&m->fmt->pb);
    if (r < 0)
        return m->fail("closing the segment failed", r, error);
    return true;
}
