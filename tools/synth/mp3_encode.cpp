#include "mp3_encode.h"

#include <lame/lame.h>

#include <algorithm>

namespace {
struct Encoder {
    lame_global_flags* gf = lame_init();
    ~Encoder()
    {
        if (gf)
            lame_close(gf);
    }
};
}  // namespace

bool encode_mp3(const StereoBuffer& audio, int kbps, std::vector<uint8_t>& out, std::string& error)
{
    out.clear();
    Encoder enc;
    if (!enc.gf) {
        error = "the MP3 encoder cannot start";
        return false;
    }
    lame_set_in_samplerate(enc.gf, audio.rate);
    lame_set_out_samplerate(enc.gf, audio.rate);
    lame_set_num_channels(enc.gf, 2);
    lame_set_mode(enc.gf, JOINT_STEREO);
    lame_set_brate(enc.gf, kbps);
    lame_set_VBR(enc.gf, vbr_off);
    lame_set_quality(enc.gf, 2);
    lame_set_bWriteVbrTag(enc.gf, 1);
    lame_set_write_id3tag_automatic(enc.gf, 0);
    if (lame_init_params(enc.gf) < 0) {
        error = "the MP3 encoder refused its settings";
        return false;
    }

    const size_t chunk = 8192;
    std::vector<unsigned char> buf(chunk * 5 / 4 + 7200);
    for (size_t pos = 0; pos < audio.frames(); pos += chunk) {
        const int n = int(std::min(chunk, audio.frames() - pos));
        const int got = lame_encode_buffer_ieee_float(enc.gf, audio.left.data() + pos, audio.right.data() + pos, n,
                                                      buf.data(), int(buf.size()));
        if (got < 0) {
            error = "MP3 encoding failed (" + std::to_string(got) + ")";
            return false;
        }
        out.insert(out.end(), buf.begin(), buf.begin() + got);
    }
    const int got = lame_encode_flush(enc.gf, buf.data(), int(buf.size()));
    if (got < 0) {
        error = "MP3 encoding failed at the end (" + std::to_string(got) + ")";
        return false;
    }
    out.insert(out.end(), buf.begin(), buf.begin() + got);

    // The first frame was reserved for the information frame; fill it in now
    // that the delay and padding are known.
    unsigned char tag[2880];
    const size_t tagSize = lame_get_lametag_frame(enc.gf, tag, sizeof tag);
    if (tagSize == 0 || tagSize > sizeof tag || tagSize > out.size()) {
        error = "the MP3 encoder gave no information frame";
        return false;
    }
    std::copy(tag, tag + tagSize, out.begin());
    return true;
}
