#include "encode/video_writer.h"

#include <algorithm>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include "encode/av_text.h"
#include "encode/encoded_file.h"
#include "encode/h264_settings.h"
#include "offline/frame_timing.h"

struct cVideoWriter::Impl {
    VideoSpec format;
    cEncodedFile file{"the video file"};
    AVCodecContext* venc = nullptr;  // the file's encoders; no picture encoder when copying
    AVCodecContext* aenc = nullptr;
    AVStream* vst = nullptr;
    AVStream* ast = nullptr;
    SwsContext* sws = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* sound = nullptr;
    int64_t frame = 0;        // pictures encoded
    int64_t samplesDone = 0;  // sound samples encoded

    ~Impl()
    {
        sws_freeContext(sws);
        av_frame_free(&picture);
        av_frame_free(&sound);
    }

    bool open_video(std::string& error)
    {
        H264Setup setup;
        setup.width = format.width;
        setup.height = format.height;
        setup.fps = format.fps;
        setup.crf = format.crf;
        setup.globalHeader = file.global_header();
        venc = open_capture_h264(setup, error);
        if (!venc || !(vst = file.add_encoder(venc, error)))
            return false;
        picture = new_encoder_picture(venc);
        if (!picture)
            return av_failure("no memory for a picture", 0, error);
        sws = capture_colour_converter(format.width, format.height);
        if (!sws)
            return av_failure("no colour conversion to yuv420p", 0, error);
        return true;
    }

    // A stream whose packets come encoded already (copied from slices).
    bool copy_video(const AVCodecParameters* par, std::string& error)
    {
        vst = file.add_copied_stream(error);
        if (!vst)
            return false;
        const int r = avcodec_parameters_copy(vst->codecpar, par);
        if (r < 0)
            return av_failure("cannot copy the stream parameters", r, error);
        vst->codecpar->codec_tag = 0;  // the container's own tag for H.264
        vst->time_base = AVRational{1, format.fps};
        vst->avg_frame_rate = AVRational{format.fps, 1};
        return true;
    }

    bool open_audio(std::string& error)
    {
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
        if (!codec)
            return av_failure("no AAC encoder in this FFmpeg", 0, error);
        aenc = avcodec_alloc_context3(codec);
        aenc->sample_fmt = AV_SAMPLE_FMT_FLTP;
        aenc->sample_rate = format.rate;
        aenc->bit_rate = 192000;
        av_channel_layout_default(&aenc->ch_layout, 2);
        aenc->time_base = AVRational{1, format.rate};
        if (file.global_header())
            aenc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        const int r = avcodec_open2(aenc, codec, nullptr);
        if (r < 0) {
            avcodec_free_context(&aenc);
            return av_failure("the AAC encoder did not open", r, error);
        }
        if (!(ast = file.add_encoder(aenc, error)))
            return false;
        sound = av_frame_alloc();
        return sound || av_failure("no memory for sound", 0, error);
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
                return av_failure("no memory for sound", r, error);
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
            if (!file.encode(ast, sound, error))
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
    if (!m->file.create("mp4", "MP4", path, error))
        return false;
    if (copied ? !m->copy_video(copied, error) : !m->open_video(error))
        return false;
    if (format.pcm && !m->open_audio(error))
        return false;
    // The index at the front: the file plays while it downloads.
    return m->file.open({{"movflags", "+faststart"}}, error);
}

bool cVideoWriter::add_frame(const uint8_t* bgra, std::string& error)
{
    if (!writable_picture(m->picture, error))
        return false;
    convert_capture_picture(m->sws, bgra, m->format.width, m->format.height, m->picture);
    m->picture->pts = m->frame;
    if (!m->file.encode(m->vst, m->picture, error))
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
    if (!m->file.write_packet(packet, error))
        return false;
    ++m->frame;
    return m->write_sound(samples_before_frame(m->frame, m->format.fps, m->format.rate), false, error);
}

bool cVideoWriter::finish(std::string& error)
{
    if (!m->write_sound(samples_before_frame(m->frame, m->format.fps, m->format.rate), true, error))
        return false;
    return m->file.finish(error);
}
