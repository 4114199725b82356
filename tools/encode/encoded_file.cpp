#include "encode/encoded_file.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "encode/av_text.h"

cEncodedFile::cEncodedFile(std::string noun) : m_noun(std::move(noun)) {}

cEncodedFile::~cEncodedFile()
{
    if (m_fmt && m_fmt->pb)
        avio_closep(&m_fmt->pb);
    avformat_free_context(m_fmt);
    for (auto& e : m_encoders)
        avcodec_free_context(&e.first);
    av_packet_free(&m_pkt);
}

bool cEncodedFile::create(const char* container, const char* label, const std::string& path, std::string& error)
{
    av_log_set_level(AV_LOG_ERROR);  // the encoders' statistics are not for the person capturing
    const int r = avformat_alloc_output_context2(&m_fmt, nullptr, container, path.c_str());
    if (r < 0 || !m_fmt)
        return av_failure(std::string("no ") + label + " writer", r, error);
    m_pkt = av_packet_alloc();
    if (!m_pkt)
        return av_failure("no memory for a packet", 0, error);
    return true;
}

bool cEncodedFile::global_header() const
{
    return (m_fmt->oformat->flags & AVFMT_GLOBALHEADER) != 0;
}

AVStream* cEncodedFile::add_encoder(AVCodecContext* enc, std::string& error)
{
    AVStream* st = avformat_new_stream(m_fmt, nullptr);
    if (!st) {
        avcodec_free_context(&enc);
        av_failure("no memory for a stream of " + m_noun, 0, error);
        return nullptr;
    }
    m_encoders.emplace_back(enc, st);
    st->time_base = enc->time_base;
    if (enc->codec_type == AVMEDIA_TYPE_VIDEO)
        st->avg_frame_rate = enc->framerate;
    const int r = avcodec_parameters_from_context(st->codecpar, enc);
    if (r < 0) {
        av_failure("cannot describe a stream of " + m_noun, r, error);
        return nullptr;
    }
    return st;
}

AVStream* cEncodedFile::add_copied_stream(std::string& error)
{
    AVStream* st = avformat_new_stream(m_fmt, nullptr);
    if (!st)
        av_failure("no memory for the picture stream", 0, error);
    return st;
}

bool cEncodedFile::open(const Options& options, std::string& error)
{
    const std::string path = m_fmt->url ? m_fmt->url : "";
    int r = avio_open(&m_fmt->pb, path.c_str(), AVIO_FLAG_WRITE);
    if (r < 0)
        return av_failure("cannot create " + path, r, error);
    AVDictionary* dict = nullptr;
    for (const auto& o : options)
        av_dict_set(&dict, o.first.c_str(), o.second.c_str(), 0);
    r = avformat_write_header(m_fmt, &dict);
    av_dict_free(&dict);
    if (r < 0)
        return av_failure("cannot write the header of " + path, r, error);
    return true;
}

bool cEncodedFile::send(AVCodecContext* enc, AVStream* st, const AVFrame* frame, std::string& error)
{
    int r = avcodec_send_frame(enc, frame);
    if (r < 0)
        return av_failure("the encoder refused a frame", r, error);
    for (;;) {
        r = avcodec_receive_packet(enc, m_pkt);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF)
            return true;
        if (r < 0)
            return av_failure("encoding failed", r, error);
        av_packet_rescale_ts(m_pkt, enc->time_base, st->time_base);
        m_pkt->stream_index = st->index;
        r = av_interleaved_write_frame(m_fmt, m_pkt);
        if (r < 0)
            return av_failure("writing " + m_noun + " failed", r, error);
    }
}

bool cEncodedFile::encode(const AVStream* stream, const AVFrame* frame, std::string& error)
{
    for (auto& e : m_encoders)
        if (e.second == stream)
            return send(e.first, e.second, frame, error);
    return av_failure("no encoder feeds that stream of " + m_noun, 0, error);
}

bool cEncodedFile::write_packet(AVPacket* packet, std::string& error)
{
    const int r = av_interleaved_write_frame(m_fmt, packet);
    if (r < 0)
        return av_failure("writing " + m_noun + " failed", r, error);
    return true;
}

bool cEncodedFile::finish(std::string& error)
{
    for (auto& e : m_encoders)
        if (!send(e.first, e.second, nullptr, error))
            return false;
    int r = av_write_trailer(m_fmt);
    if (r < 0)
        return av_failure("completing " + m_noun + " failed", r, error);
    r = avio_closep(&m_fmt->pb);
    if (r < 0)
        return av_failure("closing " + m_noun + " failed", r, error);
    return true;
}

AVFrame* new_encoder_picture(const AVCodecContext* enc)
{
    AVFrame* picture = av_frame_alloc();
    if (!picture)
        return nullptr;
    picture->format = enc->pix_fmt;
    picture->width = enc->width;
    picture->height = enc->height;
    if (av_frame_get_buffer(picture, 0) < 0)
        av_frame_free(&picture);
    return picture;
}

bool writable_picture(AVFrame* picture, std::string& error)
{
    const int r = av_frame_make_writable(picture);
    return r >= 0 || av_failure("no memory for a picture", r, error);
}
