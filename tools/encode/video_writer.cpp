#include "encode/video_writer.h"

#include <algorithm>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include "encode/av_text.h"
#include "encode/h264_settings.h"
#include "offline/frame_timing.h"

struct cVideoWriter::Impl {
    VideoSpec format;
    AVFormatContext* fmt = nullptr;
    AVCodecContext* venc = nullptr;
    AVCodecContext* aenc = nullptr;
    AVStream* vst = nullptr;
    AVStream* ast = nullptr;
    SwsContext* sws = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* sound = nullptr;
    AVPacket* pkt = nullptr;
    int64_t frame = 0;        // pictures encoded
    int64_t samplesDone = 0;  // sound samples encoded

    ~Impl()
    {
        if (fmt && fmt->pb)
            avio_closep(&fmt->pb);
        avformat_free_context(fmt);
        avcodec_free_context(&venc);
        avcodec_free_context(&aenc);
        sws_freeContext(sws);
        av_frame_free(&picture);
        av_frame_free(&sound);
        av_packet_free(&pkt);
    }

    bool fail(const std::string& what, int code, std::string& error)
    {
        error = what + (code ? ": " + av_text(code) : std::string());
        return false;
    }

    // Sends a frame (null: drain) and writes what comes out.
    bool encode(AVCodecContext* enc, AVStream* st, AVFrame* f, std::string& error)
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
                return fail("writing the video file failed", r, error);
        }
    }

    bool open_video(std::string& error)
    {
        H264Setup setup;
        setup.width = format.width;
        setup.height = format.height;
        setup.fps = format.fps;
        setup.crf = format.crf;
        setup.globalHeader = (fmt->oformat->flags & AVFMT_GLOBALHEADER) != 0;
        venc = open_capture_h264(setup, error);
        if (!venc)
            return false;
        vst = avformat_new_stream(fmt, nullptr);
        vst->time_base = venc->time_base;
        vst->avg_frame_rate = venc->framerate;
        avcodec_parameters_from_context(vst->codecpar, venc);

        picture = av_frame_alloc();
        picture->format = venc->pix_fmt;
        picture->width = format.width;
        picture->height = format.height;
        int r;
        if ((r = av_frame_get_buffer(picture, 0)) < 0)
            return fail("no memory for a picture", r, error);
        sws = capture_colour_converter(format.width, format.height);
        if (!sws)
            return fail("no colour conversion to yuv420p", 0, error);
        return true;
    }

    // A stream whose packets come encoded already (copied from slices).
    bool copy_video(const AVCodecParameters* par, std::string& error)
    {
        vst = avformat_new_stream(fmt, nullptr);
        if (!vst)
            return fail("no memory for the picture stream", 0, error);
        const int r = avcodec_parameters_copy(vst->codecpar, par);
        if (r < 0)
            return fail("cannot copy the stream parameters", r, error);
        vst->codecpar->codec_tag = 0;  // the container's own tag for H.264
        vst->time_base = AVRational{1, format.fps};
        vst->avg_frame_rate = AVRational{format.fps, 1};
        return true;
    }

    bool open_audio(std::string& error)
    {
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
        if (!codec)
            return fail("no AAC encoder in this FFmpeg", 0, error);
        aenc = avcodec_alloc_context3(codec);
        aenc->sample_fmt = AV_SAMPLE_FMT_FLTP;
        aenc->sample_rate = format.rate;
        aenc->bit_rate = 192000;
        av_channel_layout_default(&aenc->ch_layout, 2);
        aenc->time_base = AVRational{1, format.rate};
        if (fmt->oformat->flags & AVFMT_GLOBALHEADER)
            aenc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        int r = avcodec_open2(aenc, codec, nullptr);
        if (r < 0)
            return fail("the AAC encoder did not open", r, error);
        ast = avformat_new_stream(fmt, nullptr);
        ast->time_base = aenc->time_base;
        avcodec_parameters_from_context(ast->codecpar, aenc);
        sound = av_frame_alloc();
        return true;
    }

    // Encodes the sound up to `until` samples after the capture's start.
    bool write_sound(int64_t until, bool last, std::string& error)
    {
        if (!aenc)
            return true;
        const int block = aenc->frame_size > 0 ? aenc->frame_size : 1024;
        while (until - samplesDone >= block || (last && until > samplesDone)) {
            const int n = int(std::min<int64_t>(block, until - samplesDone));
            av_frame_unref(sound);
            sound->format = AV_SAMPLE_FMT_FLTP;
            sound->sample_rate = format.rate;
            sound->nb_samples = n;
            av_channel_layout_default(&sound->ch_layout, 2);
            int r = av_frame_get_buffer(sound, 0);
            if (r < 0)
                return fail("no memory for sound", r, error);
            float* left = reinterpret_cast<float*>(sound->data[0]);
            float* right = reinterpret_cast<float*>(sound->data[1]);
            for (int i = 0; i < n; ++i) {
                const int64_t s = format.firstSample + samplesDone + i;
                const bool in = s >= 0 && s < format.pcmFrames;
                left[i] = in ? format.pcm[2 * s] / 32768.f : 0.f;
                right[i] = in ? format.pcm[2 * s + 1] / 32768.f : 0.f;
            }
            sound->pts = samplesDone;
            samplesDone += n;
            if (!encode(aenc, ast, sound, error))
                return false;
        }
        return true;
    }
};

cVideoWriter::cVideoWriter() : m(new Impl) {}
cVideoWriter::~cVideoWriter()
{
    delete m;
}

int64_t cVideoWriter::frames() const
{
    return m->frame;
}

bool cVideoWriter::open(const std::string& path, const VideoSpec& format, std::string& error)
{
    return open_file(path, format, nullptr, error);
}

bool cVideoWriter::open_copy(const std::string& path, const VideoSpec& format, const AVCodecParameters* video,
                             std::string& error)
{
    return open_file(path, format, video, error);
}

bool cVideoWriter::open_file(const std::string& path, const VideoSpec& format, const AVCodecParameters* copied,
                             std::string& error)
{
    m->format = format;
    av_log_set_level(AV_LOG_ERROR);  // the encoders' statistics are not for the person capturing
    int r = avformat_alloc_output_context2(&m->fmt, nullptr, "mp4", path.c_str());
    if (r < 0 || !m->fmt)
        return m->fail("no MP4 writer", r, error);
    m->pkt = av_packet_alloc();
    if (copied ? !m->copy_video(copied, error) : !m->open_video(error))
        return false;
    if (format.pcm && !m->open_audio(error))
        return false;
    if ((r = avio_open(&m->fmt->pb, path.c_str(), AVIO_FLAG_WRITE)) < 0)
        return m->fail("cannot create " + path, r, error);
    AVDictionary* opts = nullptr;
    // The index at the front: the file plays while it downloads.
    av_dict_set(&opts, "movflags", "+faststart", 0);
    r = avformat_write_header(m->fmt, &opts);
    av_dict_free(&opts);
    if (r < 0)
        return m->fail("cannot write the header of " + path, r, error);
    return true;
}

bool cVideoWriter::add_frame(const uint8_t* bgra, std::string& error)
{
    int r = av_frame_make_writable(m->picture);
    if (r < 0)
        return m->fail("no memory for a picture", r, error);
    convert_capture_picture(m->sws, bgra, m->format.width, m->format.height, m->picture);
    m->picture->pts = m->frame;
    if (!m->encode(m->venc, m->vst, m->picture, error))
        return false;
    ++m->frame;
    return m->write_sound(samples_before_frame(m->frame, m->format.fps, m->format.rate), false, error);
}

bool cVideoWriter::add_packet(AVPacket* packet, std::string& error)
{
    // Timestamps count frames of the whole video; pictures come in decode
    // order, one a packet, and the sound follows the pictures' count.
    av_packet_rescale_ts(packet, AVRational{1, m->format.fps}, m->vst->time_base);
    packet->stream_index = m->vst->index;
    packet->pos = -1;
    const int r = av_interleaved_write_frame(m->fmt, packet);
    if (r < 0)
        return m->fail("writing the video file failed", r, error);
    ++m->frame;
    return m->write_sound(samples_before_frame(m->frame, m->format.fps, m->format.rate), false, error);
}

bool cVideoWriter::finish(std::string& error)
{
    if (!m->write_sound(samples_before_frame(m->frame, m->format.fps, m->format.rate), true, error))
        return false;
    if (m->venc && !m->encode(m->venc, m->vst, nullptr, error))
        return false;
    if (m->aenc && !m->encode(m->aenc, m->ast, nullptr, error))
        return false;
    int r = av_write_trailer(m->fmt);
    if (r < 0)
        return m->fail("completing the video file failed", r, error);
    r = avio_closep(&m->fmt->pb);
    if (r < 0)
        return m->fail("closing the video file failed", r, error);
    return true;
}
