#include "capture/decoded_media.h"

#include <cmath>
#include <limits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

namespace {
uint64_t fnv(uint64_t h, const uint8_t* p, int n)
{
    for (int i = 0; i < n; ++i)
        h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

void take(DecodedMedia& m, const AVFrame* f, bool video, bool keepAll, AVRational timeBase)
{
    if (video) {
        uint64_t h = 14695981039346656037ull;
        if (keepAll)
            m.pictures.emplace_back();
        m.timesMs.push_back(av_rescale_q(f->best_effort_timestamp, timeBase, AVRational{1, 1000}));
        for (int plane = 0; plane < 3; ++plane) {
            const int w = plane ? (f->width + 1) / 2 : f->width;
            const int rows = plane ? (f->height + 1) / 2 : f->height;
            std::vector<uint8_t>& keep = plane == 0 ? m.firstY : plane == 1 ? m.firstCb : m.firstCr;
            for (int y = 0; y < rows; ++y) {
                h = fnv(h, f->data[plane] + y * f->linesize[plane], w);
                if (keepAll)
                    m.pictures.back().insert(m.pictures.back().end(), f->data[plane] + y * f->linesize[plane],
                                             f->data[plane] + y * f->linesize[plane] + w);
                if (m.frameSums.empty())
                    keep.insert(keep.end(), f->data[plane] + y * f->linesize[plane],
                                f->data[plane] + y * f->linesize[plane] + w);
            }
        }
        m.frameSums.push_back(h);
    } else if (f->format == AV_SAMPLE_FMT_FLTP) {
        const float* l = reinterpret_cast<const float*>(f->data[0]);
        m.left.insert(m.left.end(), l, l + f->nb_samples);
    }
}
}  // namespace

DecodedMedia decode_media(const std::string& path, bool keepPictures)
{
    DecodedMedia m;
    AVFormatContext* fmt = nullptr;
    if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0 || avformat_find_stream_info(fmt, nullptr) < 0) {
        m.error = "cannot open " + path;
        avformat_close_input(&fmt);
        return m;
    }
    std::vector<AVCodecContext*> decoders(fmt->nb_streams, nullptr);
    for (unsigned i = 0; i < fmt->nb_streams; ++i) {
        const AVCodecParameters* par = fmt->streams[i]->codecpar;
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
            ++m.videoStreams;
            m.videoCodec = avcodec_get_name(par->codec_id);
            m.pixelFormat = av_get_pix_fmt_name(AVPixelFormat(par->format));
            m.width = par->width;
            m.height = par->height;
            m.fps = av_q2d(fmt->streams[i]->avg_frame_rate);
        } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
            ++m.audioStreams;
            m.audioCodec = avcodec_get_name(par->codec_id);
            m.rate = par->sample_rate;
            m.channels = par->ch_layout.nb_channels;
        }
        if (!codec)
            continue;
        decoders[i] = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(decoders[i], par);
        decoders[i]->pkt_timebase = fmt->streams[i]->time_base;
        avcodec_open2(decoders[i], codec, nullptr);
    }
    AVPacket* pkt = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto drain = [&](unsigned i) {
        while (avcodec_receive_frame(decoders[i], frame) == 0) {
            take(m, frame, decoders[i]->codec_type == AVMEDIA_TYPE_VIDEO, keepPictures, fmt->streams[i]->time_base);
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(fmt, pkt) >= 0) {
        const unsigned i = unsigned(pkt->stream_index);
        if (i < decoders.size() && decoders[i] && avcodec_send_packet(decoders[i], pkt) == 0)
            drain(i);
        av_packet_unref(pkt);
    }
    for (unsigned i = 0; i < decoders.size(); ++i)
        if (decoders[i]) {
            avcodec_send_packet(decoders[i], nullptr);
            drain(i);
            avcodec_free_context(&decoders[i]);
        }
    av_frame_free(&frame);
    av_packet_free(&pkt);
    avformat_close_input(&fmt);
    m.videoSeconds = m.fps > 0 ? double(m.frameSums.size()) / m.fps : 0.0;
    m.ok = true;
    return m;
}

double psnr_db(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    if (a.size() != b.size() || a.empty())
        return 0.0;
    double sum = 0.0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double d = double(a[i]) - double(b[i]);
        sum += d * d;
    }
    if (sum == 0.0)
        return std::numeric_limits<double>::infinity();
    return 10.0 * std::log10(255.0 * 255.0 * double(a.size()) / sum);
}
