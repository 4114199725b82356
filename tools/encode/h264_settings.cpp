#include "encode/h264_settings.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "encode/av_text.h"

AVCodecContext* open_capture_h264(const H264Setup& setup, std::string& error)
{
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec)
        codec = avcodec_find_encoder(AV_CODEC_ID_H264);
    if (!codec) {
        error = "no H.264 encoder in this FFmpeg";
        return nullptr;
    }
    AVCodecContext* venc = avcodec_alloc_context3(codec);
    venc->width = setup.width;
    venc->height = setup.height;
    venc->time_base = AVRational{1, setup.fps};
    venc->framerate = AVRational{setup.fps, 1};
    venc->pix_fmt = AV_PIX_FMT_YUV420P;
    venc->gop_size = setup.fps * 2;
    venc->colorspace = AVCOL_SPC_BT709;
    venc->color_primaries = AVCOL_PRI_BT709;
    venc->color_trc = AVCOL_TRC_BT709;
    venc->color_range = AVCOL_RANGE_MPEG;
    if (setup.globalHeader)
        venc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* opts = nullptr;
    av_dict_set(&opts, "crf", std::to_string(setup.crf).c_str(), 0);
    // Fast enough to keep up with the renderer on one core.
    av_dict_set(&opts, "preset", "ultrafast", 0);
    // ...with adaptive quantisation back on, so flat areas keep their grain.
    // A slice also starts on a keyframe with nothing referring past its
    // ends (closed groups of pictures) and never adapts its stream
    // parameters to its own pictures, so the slices' packets follow each
    // other as one stream.
    av_dict_set(&opts, "x264-params", setup.stitchable ? "aq-mode=1:stitchable=1:open-gop=0" : "aq-mode=1", 0);
    const int r = avcodec_open2(venc, codec, &opts);
    av_dict_free(&opts);
    if (r < 0) {
        error = "the H.264 encoder did not open: " + av_text(r);
        avcodec_free_context(&venc);
        return nullptr;
    }
    return venc;
}

SwsContext* capture_colour_converter(int width, int height)
{
    SwsContext* sws = sws_getContext(width, height, AV_PIX_FMT_BGRA, width, height, AV_PIX_FMT_YUV420P,
                                     SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!sws)
        return nullptr;
    const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
    sws_setColorspaceDetails(sws, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    return sws;
}

void convert_capture_picture(SwsContext* sws, const uint8_t* bgra, int width, int height, AVFrame* picture)
{
    // GL's rows run bottom-up: start at the last row, step backwards.
    const int stride = width * 4;
    const uint8_t* src[1] = {bgra + int64_t(stride) * (height - 1)};
    const int srcStride[1] = {-stride};
    sws_scale(sws, src, srcStride, 0, height, picture->data, picture->linesize);
}
