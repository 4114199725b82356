#pragma once
// FFmpeg's words for one of its error codes, for the tools' messages.
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

// A failed step: `what`, then FFmpeg's words for `code` when there is one
// ("cannot create x.mp4: Permission denied"), into `error`. Always false.
inline bool av_failure(const std::string& what, int code, std::string& error)
{
    error = what + (code ? ": " + av_text(code) : std::string());
    return false;
}
