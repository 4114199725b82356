#include "segments/segment_writer.h"

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include "encode/av_text.h"
#include "encode/encoded_file.h"
#include "encode/h264_settings.h"

struct cSegmentWriter::Impl {
    SegmentInfo info;
    cEncodedFile file{"the segment"};
    AVCodecContext* enc = nullptr;  // the file's
    AVStream* st = nullptr;
    AVFrame* picture = nullptr;
    SwsContext* sws = nullptr;  // H.264 only
    int64_t frame = 0;

    ~Impl()
    {
        av_frame_free(&picture);
        sws_freeContext(sws);
    }

    bool open_ffv1(std::string& error)
    {
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_FFV1);
        if (!codec)
            return av_failure("no FFV1 encoder in this FFmpeg", 0, error);
        enc = avcodec_alloc_context3(codec);
        enc->width = info.width;
        enc->height = info.height;
        enc->time_base = AVRational{1, info.fps};
        enc->framerate = AVRational{info.fps, 1};
        // Blue, green, red and a byte left unused: the read-back order.
        enc->pix_fmt = AV_PIX_FMT_BGR0;
        enc->gop_size = 1;  // every picture decodes alone
        enc->thread_count = 2;
        if (file.global_header())
            enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        AVDictionary* opts = nullptr;
        av_dict_set(&opts, "level", "3", 0);
        av_dict_set(&opts, "slicecrc", "1", 0);  // a damaged picture is noticed, not joined
        av_dict_set(&opts, "slices", "4", 0);    // ...and encoded on two threads
        const int r = avcodec_open2(enc, codec, &opts);
        av_dict_free(&opts);
        if (r < 0) {
            avcodec_free_context(&enc);
            return av_failure("the FFV1 encoder did not open", r, error);
        }
        return true;
    }

    bool open_h264(std::string& error)
    {
        H264Setup setup;
        setup.width = info.width;
        setup.height = info.height;
        setup.fps = info.fps;
        setup.globalHeader = file.global_header();
        setup.stitchable = true;
        enc = open_capture_h264(setup, error);
        if (!enc)
            return false;
        sws = capture_colour_converter(info.width, info.height);
        if (!sws)
            return av_failure("no colour conversion to yuv420p", 0, error);
        return true;
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
    if (!m->file.create("matroska", "Matroska", path, error))
        return false;
    if (!(info.lossless ? m->open_ffv1(error) : m->open_h264(error)))
        return false;
    if (!(m->st = m->file.add_encoder(m->enc, error)))
        return false;
    for (const auto& t : segment_tags(info))
        av_dict_set(&m->file.container()->metadata, t.first.c_str(), t.second.c_str(), 0);

    m->picture = new_encoder_picture(m->enc);
    if (!m->picture)
        return av_failure("no memory for a picture", 0, error);
    // A checksum in every top-level element (the default; said here
    // because the join's check of a slice relies on it).
    return m->file.open({{"write_crc32", "1"}}, error);
}

bool cSegmentWriter::add_frame(const uint8_t* bgra, std::string& error)
{
    if (!writable_picture(m->picture, error))
        return false;
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
    if (!m->file.encode(m->st, m->picture, error))
        return false;
    ++m->frame;
    return true;
}

bool cSegmentWriter::finish(std::string& error)
{
    return m->file.finish(error);
}
