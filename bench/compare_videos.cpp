// Two videos of the same range, decoded side by side: the number of
// pictures and their timestamps, the PSNR of every picture of the second
// against the first (lowest, where, and the mean), and how far apart
// their sounds lie. Frames named after the files are written as PNG from
// both, to look at (the pictures either side of a farm's slice edges).
//
//   build/bench/compare_videos REFERENCE OTHER [--png DIR N...] [--each] [--skip N]
//
// --skip N leaves out the reference's first N pictures (OTHER starts
// later on the same grid).
//
// Either may be several files read one after the other, separated by
// commas (lossless segments: the pictures as rendered, converted to
// yuv420p as the capture converts them), so that two encodings can each
// be measured against what they encoded.
//
// Used by bench/bench_farm.sh; exit code 1 when the videos cannot be read.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include "offline/png_file.h"

namespace {
// One file's pictures (one at a time) and its whole first sound channel.
struct Decoded {
    AVFormatContext* fmt = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    int vs = -1, as = -1;
    AVPacket* pkt = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    std::vector<float> left;
    int rate = 0;
    bool ended = false;

    SwsContext* toYuv = nullptr;
    AVFrame* converted = nullptr;

    bool open(const std::string& path)
    {
        if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0 ||
            avformat_find_stream_info(fmt, nullptr) < 0)
            return false;
        for (unsigned i = 0; i < fmt->nb_streams; ++i) {
            const AVCodecParameters* par = fmt->streams[i]->codecpar;
            AVCodecContext** ctx = par->codec_type == AVMEDIA_TYPE_VIDEO ? &video
                                   : par->codec_type == AVMEDIA_TYPE_AUDIO ? &audio
                                                                           : nullptr;
            if (!ctx || *ctx)
                continue;
            const AVCodec* codec = avcodec_find_decoder(par->codec_id);
            *ctx = avcodec_alloc_context3(codec);
            avcodec_parameters_to_context(*ctx, par);
            (*ctx)->pkt_timebase = fmt->streams[i]->time_base;
            avcodec_open2(*ctx, codec, nullptr);
            (par->codec_type == AVMEDIA_TYPE_VIDEO ? vs : as) = int(i);
            if (par->codec_type == AVMEDIA_TYPE_AUDIO)
                rate = par->sample_rate;
        }
        return video != nullptr;
    }

    void take_sound()
    {
        while (avcodec_receive_frame(audio, frame) == 0) {
            if (frame->format == AV_SAMPLE_FMT_FLTP) {
                const float* l = reinterpret_cast<const float*>(frame->data[0]);
                left.insert(left.end(), l, l + frame->nb_samples);
            }
            av_frame_unref(frame);
        }
    }

    // A picture that is not yuv420p (a lossless segment's) becomes one, as
    // the capture converts what it reads back: BT.709, limited range.
    void to_yuv420p()
    {
        if (frame->format == AV_PIX_FMT_YUV420P)
            return;
        if (!toYuv) {
            toYuv = sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                                   frame->height, AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
            const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
            sws_setColorspaceDetails(toYuv, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
            converted = av_frame_alloc();
            converted->format = AV_PIX_FMT_YUV420P;
            converted->width = frame->width;
            converted->height = frame->height;
            av_frame_get_buffer(converted, 0);
        }
        sws_scale(toYuv, frame->data, frame->linesize, 0, frame->height, converted->data, converted->linesize);
        const int64_t ts = frame->best_effort_timestamp;
        av_frame_unref(frame);
        av_frame_ref(frame, converted);
        frame->best_effort_timestamp = ts;
    }

    // The next picture into `frame`; false at the end.
    bool next_picture()
    {
        for (;;) {
            if (avcodec_receive_frame(video, frame) == 0) {
                to_yuv420p();
                return true;
            }
            if (ended)
                return false;
            if (av_read_frame(fmt, pkt) < 0) {
                ended = true;
                avcodec_send_packet(video, nullptr);
                if (audio) {
                    avcodec_send_packet(audio, nullptr);
                    take_sound();
                }
                continue;
            }
            if (pkt->stream_index == vs)
                avcodec_send_packet(video, pkt);
            else if (pkt->stream_index == as) {
                avcodec_send_packet(audio, pkt);
                take_sound();
            }
            av_packet_unref(pkt);
        }
    }

    void rest_of_sound()
    {
        while (next_picture())
            av_frame_unref(frame);
    }

    int64_t time_ms() const
    {
        return av_rescale_q(frame->best_effort_timestamp, fmt->streams[vs]->time_base, AVRational{1, 1000});
    }
};

// Several files, one after the other.
struct Sequence {
    std::vector<Decoded*> parts;
    size_t at = 0;

    bool open(const std::string& list)
    {
        size_t from = 0;
        while (from <= list.size()) {
            const size_t comma = std::min(list.find(',', from), list.size());
            parts.push_back(new Decoded);
            if (!parts.back()->open(list.substr(from, comma - from)))
                return false;
            from = comma + 1;
        }
        return !parts.empty();
    }
    Decoded& now() { return *parts[std::min(at, parts.size() - 1)]; }
    bool next_picture()
    {
        while (at < parts.size()) {
            if (parts[at]->next_picture())
                return true;
            ++at;
        }
        return false;
    }
    AVFrame* frame() { return now().frame; }
};

double psnr(const AVFrame* a, const AVFrame* b)
{
    double sum = 0.0;
    int64_t count = 0;
    for (int p = 0; p < 3; ++p) {
        const int w = p ? (a->width + 1) / 2 : a->width, h = p ? (a->height + 1) / 2 : a->height;
        for (int y = 0; y < h; ++y) {
            const uint8_t* ra = a->data[p] + int64_t(y) * a->linesize[p];
            const uint8_t* rb = b->data[p] + int64_t(y) * b->linesize[p];
            for (int x = 0; x < w; ++x) {
                const double d = double(ra[x]) - double(rb[x]);
                sum += d * d;
            }
            count += w;
        }
    }
    return sum == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 * double(count) / sum);
}

void save_png(const AVFrame* f, const std::string& path)
{
    SwsContext* sws = sws_getContext(f->width, f->height, AVPixelFormat(f->format), f->width, f->height,
                                     AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
    std::vector<uint8_t> bgra(size_t(f->width) * f->height * 4);
    // Bottom row first, as the PNG writer takes a read-back.
    uint8_t* dst[1] = {bgra.data() + size_t(f->width) * 4 * (f->height - 1)};
    const int stride[1] = {-f->width * 4};
    sws_scale(sws, f->data, f->linesize, 0, f->height, dst, stride);
    sws_freeContext(sws);
    std::string error;
    if (!write_png_bgra(path, bgra.data(), f->width, f->height, error))
        std::fprintf(stderr, "compare_videos: %s\n", error.c_str());
}

// The lag (samples, within +-10 ms) at which `b` best matches `a`.
int best_lag(const std::vector<float>& a, const std::vector<float>& b, int rate)
{
    const int reach = rate / 100, skip = 4096;
    const int64_t window = std::min<int64_t>(int64_t(std::min(a.size(), b.size())) - skip - 2 * reach, rate * 4);
    if (window <= 0)
        return 0;
    int best = 0;
    double top = -1e300;
    for (int lag = -reach; lag <= reach; ++lag) {
        double sum = 0.0;
        for (int64_t i = 0; i < window; ++i)
            sum += double(a[size_t(skip + reach + i)]) * b[size_t(skip + reach + i + lag)];
        if (sum > top) {
            top = sum;
            best = lag;
        }
    }
    return best;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: compare_videos REFERENCE OTHER [--png DIR N...] [--each] [--skip N]\n");
        return 2;
    }
    std::string pngDir;
    std::set<int64_t> wanted;
    bool each = false;
    int64_t skip = 0;
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--png" && i + 1 < argc)
            pngDir = argv[++i];
        else if (a == "--skip" && i + 1 < argc)
            skip = std::atoll(argv[++i]);
        else if (a == "--each")
            each = true;
        else
            wanted.insert(std::atoll(argv[i]));
    }
    av_log_set_level(AV_LOG_ERROR);
    Sequence refs, others;
    if (!refs.open(argv[1]) || !others.open(argv[2])) {
        std::fprintf(stderr, "compare_videos: cannot read %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    for (int64_t i = 0; i < skip && refs.next_picture(); ++i)
        av_frame_unref(refs.frame());
    int64_t n = 0, sameTimes = 0;
    double lowest = 1e9, total = 0.0;
    int64_t lowestAt = -1;
    for (;; ++n) {
        const bool a = refs.next_picture(), b = others.next_picture();
        Decoded& ref = refs.now();
        Decoded& other = others.now();
        if (!a || !b) {
            if (a || b)
                std::printf("  picture counts differ: %s has more than %" PRId64 "\n", a ? argv[1] : argv[2], n);
            break;
        }
        const double db = psnr(ref.frame, other.frame);
        // A file of several gives no timestamps to compare.
        sameTimes += refs.parts.size() > 1 || others.parts.size() > 1 || ref.time_ms() == other.time_ms();
        total += db;
        if (db < lowest) {
            lowest = db;
            lowestAt = n;
        }
        if (each)
            std::printf("  frame %" PRId64 " at %" PRId64 " ms: %.2f dB\n", n, ref.time_ms(), db);
        if (!pngDir.empty() && wanted.count(n)) {
            char name[64];
            std::snprintf(name, sizeof name, "/frame_%06" PRId64, n);
            save_png(ref.frame, pngDir + name + "_single.png");
            save_png(other.frame, pngDir + name + "_other.png");
        }
        av_frame_unref(ref.frame);
        av_frame_unref(other.frame);
    }
    Decoded& ref = *refs.parts[0];
    Decoded& other = *others.parts[0];
    ref.rest_of_sound();
    other.rest_of_sound();
    const int lag = ref.rate > 0 && other.rate > 0 ? best_lag(ref.left, other.left, ref.rate) : 0;
    std::printf("  %" PRId64 " pictures each, %" PRId64 " with the same timestamps; PSNR lowest %.2f dB (frame %" PRId64
                "), mean %.2f dB; sound offset %d samples (%.2f ms)\n",
                n, sameTimes, lowest, lowestAt, n ? total / double(n) : 0.0, lag,
                ref.rate ? 1000.0 * lag / ref.rate : 0.0);
    return 0;
}
