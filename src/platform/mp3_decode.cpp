#include "platform/mp3_decode.h"

#include <cstdio>
#include <mpg123.h>
#include <new>

namespace {
// mpg123 wants its library set up once; later versions make this a no-op.
bool library_ready()
{
    static const bool ok = mpg123_init() == MPG123_OK;
    return ok;
}

struct Handle {
    mpg123_handle* h = nullptr;
    ~Handle()
    {
        if (h) {
            mpg123_close(h);
            mpg123_delete(h);
        }
    }
};
}  // namespace

namespace {
// Sets up a decoder handle for 16-bit stereo at `rate` with gapless trimming.
Mp3DecodeResult make_decoder(Handle& d, int rate, std::string& detail)
{
    if (!library_ready()) {
        detail = "the MP3 decoder cannot start";
        return Mp3DecodeResult::no_memory;
    }
    int err = MPG123_OK;
    d.h = mpg123_new(nullptr, &err);
    if (!d.h) {
        detail = mpg123_plain_strerror(err);
        return Mp3DecodeResult::no_memory;
    }
    // Gapless: skip the encoder delay and cut the padding. No resync hunting
    // through junk: a file that is not MP3 must be refused, not turned into
    // noise.
    mpg123_param(d.h, MPG123_FLAGS,
                 MPG123_GAPLESS | MPG123_FORCE_STEREO | MPG123_QUIET | MPG123_NO_RESYNC, 0.0);
    mpg123_format_none(d.h);
    if (mpg123_format(d.h, rate, MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK) {
        detail = mpg123_strerror(d.h);
        return Mp3DecodeResult::bad_format;
    }
    return Mp3DecodeResult::ok;
}

// Decodes everything from an opened handle.
Mp3DecodeResult decode_opened(Handle& d, std::vector<int16_t>& pcm, std::string& detail)
{
    // Scanning the whole file gives the exact length, so the PCM buffer is
    // allocated once.
    if (mpg123_scan(d.h) != MPG123_OK) {
        detail = mpg123_strerror(d.h);
        return Mp3DecodeResult::bad_format;
    }
    off_t frames = mpg123_length(d.h);
    try {
        if (frames > 0)
            pcm.reserve(size_t(frames) * 2);
    } catch (const std::bad_alloc&) {
        return Mp3DecodeResult::no_memory;
    }

    unsigned char buf[65536];
    bool gotFormat = false;
    for (;;) {
        size_t done = 0;
        int r = mpg123_read(d.h, buf, sizeof buf, &done);
        if (r == MPG123_NEW_FORMAT) {
            gotFormat = true;
            continue;
        }
        if (done > 0) {
            gotFormat = true;
            const int16_t* s = reinterpret_cast<const int16_t*>(buf);
            try {
                pcm.insert(pcm.end(), s, s + done / 2);
            } catch (const std::bad_alloc&) {
                pcm.clear();
                return Mp3DecodeResult::no_memory;
            }
        }
        if (r == MPG123_DONE)
            break;
        if (r != MPG123_OK) {
            detail = mpg123_strerror(d.h);
            const bool nothing = pcm.empty();
            pcm.clear();
            return nothing ? Mp3DecodeResult::bad_format : Mp3DecodeResult::bad_data;
        }
    }
    if (!gotFormat || pcm.empty()) {
        detail = "no MPEG audio frame found";
        pcm.clear();
        return Mp3DecodeResult::bad_format;
    }
    return Mp3DecodeResult::ok;
}
}  // namespace

Mp3DecodeResult decode_mp3_file(const std::string& path, int rate, std::vector<int16_t>& pcm,
                                std::string& detail)
{
    pcm.clear();
    // Tell a missing file from an unreadable one before the decoder sees it.
    if (FILE* f = std::fopen(path.c_str(), "rb"))
        std::fclose(f);
    else
        return Mp3DecodeResult::not_found;
    Handle d;
    const Mp3DecodeResult made = make_decoder(d, rate, detail);
    if (made != Mp3DecodeResult::ok)
        return made;
    if (mpg123_open(d.h, path.c_str()) != MPG123_OK) {
        detail = mpg123_strerror(d.h);
        return Mp3DecodeResult::bad_format;
    }
    return decode_opened(d, pcm, detail);
}

Mp3DecodeResult decode_mp3_fd(int fd, int rate, std::vector<int16_t>& pcm, std::string& detail)
{
    pcm.clear();
    Handle d;
    const Mp3DecodeResult made = make_decoder(d, rate, detail);
    if (made != Mp3DecodeResult::ok)
        return made;
    if (mpg123_open_fd(d.h, fd) != MPG123_OK) {
        detail = mpg123_strerror(d.h);
        return Mp3DecodeResult::bad_format;
    }
    return decode_opened(d, pcm, detail);
}
