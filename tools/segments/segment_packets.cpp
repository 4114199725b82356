#include "segments/segment_packets.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "encode/av_text.h"
#include "segments/segment_reader.h"

struct cSegmentPackets::Impl {
    SegmentInfo info;
    AVFormatContext* fmt = nullptr;
    int stream = -1;
    int64_t done = 0;
    int64_t origin = AV_NOPTS_VALUE;  // the first picture's stored timestamp

    ~Impl() { avformat_close_input(&fmt); }
};

cSegmentPackets::cSegmentPackets() : m(new Impl) {}
cSegmentPackets::~cSegmentPackets()
{
    delete m;
}

bool cSegmentPackets::open(const std::string& path, const SegmentInfo& info, std::string& error)
{
    m->info = info;
    m->stream = open_segment_stream(path, m->fmt, error);
    return m->stream >= 0;
}

const AVCodecParameters* cSegmentPackets::parameters() const
{
    return m->fmt->streams[m->stream]->codecpar;
}

bool cSegmentPackets::next(AVPacket* packet, std::string& error)
{
    error.clear();
    for (;;) {
        const int r = av_read_frame(m->fmt, packet);
        if (r == AVERROR_EOF)
            return false;
        if (r < 0) {
            error = "damaged after picture " + std::to_string(m->done) + ": " + av_text(r);
            return false;
        }
        if (packet->stream_index == m->stream)
            break;
        av_packet_unref(packet);
    }
    // The container stores milliseconds: back to frames, nearest, from the
    // slice's first picture (which is shown first: a slice opens on a
    // keyframe and no picture of it is shown before that).
    const AVRational stored = m->fmt->streams[m->stream]->time_base, frame = AVRational{1, m->info.fps};
    if (packet->pts == AV_NOPTS_VALUE || packet->dts == AV_NOPTS_VALUE) {
        av_packet_unref(packet);
        error = "picture " + std::to_string(m->done) + " has no timestamp";
        return false;
    }
    if (m->origin == AV_NOPTS_VALUE)
        m->origin = packet->pts;
    const auto frames = [&](int64_t t) {
        return m->info.span.first +
               av_rescale_q_rnd(t - m->origin, stored, frame, AVRounding(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
    };
    packet->pts = frames(packet->pts);
    packet->dts = frames(packet->dts);
    packet->duration = 1;
    ++m->done;
    return true;
}
