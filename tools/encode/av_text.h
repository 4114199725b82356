#pragma once
// FFmpeg's words for one of its error codes, for the capture's messages.
#include <string>

extern "C" {
#include <libavutil/error.h>
}

inline std::string av_text(int code)
{
    char buf[AV_ERROR_MAX_STRING_SIZE] = {0};
    av_strerror(code, buf, sizeof buf);
    return buf;
}
