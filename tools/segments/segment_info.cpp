#include "segments/segment_info.h"

#include <cstdlib>

#include "offline/frame_timing.h"

namespace {
const char* const RANGE = "WENDIT_RANGE";    // "FROM_MS TO_MS"
const char* const FPS = "WENDIT_FPS";        // "30"
const char* const SIZE = "WENDIT_SIZE";      // "1280x720"
const char* const FRAMES = "WENDIT_FRAMES";  // "FIRST END TOTAL": frames FIRST .. END-1 of TOTAL
const char* const SOLO = "WENDIT_SOLO";      // the layer drawn alone, when one is
const char* const SLICE = "WENDIT_SEGMENT";  // "K/N", when made with --segment

// Whole numbers separated by `sep`, each within [lo, hi].
bool numbers(const std::string& text, char sep, int count, int64_t lo, int64_t hi, int64_t* out)
{
    size_t at = 0;
    for (int i = 0; i < count; ++i) {
        const size_t stop = i + 1 < count ? text.find(sep, at) : text.size();
        if (stop == std::string::npos || stop == at || stop - at > 10)
            return false;
        for (size_t c = at; c < stop; ++c)
            if (text[c] < '0' || text[c] > '9')
                return false;
        out[i] = std::strtoll(text.substr(at, stop - at).c_str(), nullptr, 10);
        if (out[i] < lo || out[i] > hi)
            return false;
        at = stop + 1;
    }
    return true;
}

bool tag(const SegmentTags& tags, const char* key, std::string& value, std::string& error)
{
    const auto it = tags.find(key);
    if (it == tags.end()) {
        error = std::string("not a capture segment (no ") + key + " in its metadata)";
        return false;
    }
    value = it->second;
    return true;
}

bool malformed(const char* key, const std::string& value, std::string& error)
{
    error = std::string("damaged metadata: ") + key + " '" + value + "'";
    return false;
}
}  // namespace

std::string SegmentInfo::name() const
{
    if (parts > 0)
        return "segment " + std::to_string(part) + "/" + std::to_string(parts);
    return "frames " + frames_text(span);
}

SegmentTags segment_tags(const SegmentInfo& info)
{
    SegmentTags t;
    t[RANGE] = std::to_string(info.fromMs) + " " + std::to_string(info.toMs);
    t[FPS] = std::to_string(info.fps);
    t[SIZE] = std::to_string(info.width) + "x" + std::to_string(info.height);
    t[FRAMES] = std::to_string(info.span.first) + " " + std::to_string(info.span.end) + " " +
                std::to_string(info.totalFrames);
    if (!info.solo.empty())
        t[SOLO] = info.solo;
    if (info.parts > 0)
        t[SLICE] = std::to_string(info.part) + "/" + std::to_string(info.parts);
    return t;
}

bool parse_segment_tags(const SegmentTags& tags, SegmentInfo& info, std::string& error)
{
    std::string range, fps, size, frames;
    if (!tag(tags, FRAMES, frames, error) || !tag(tags, RANGE, range, error) || !tag(tags, FPS, fps, error) ||
        !tag(tags, SIZE, size, error))
        return false;
    int64_t v[3];
    if (!numbers(range, ' ', 2, 0, 100000000, v) || v[1] <= v[0])
        return malformed(RANGE, range, error);
    info.fromMs = int(v[0]);
    info.toMs = int(v[1]);
    if (!numbers(fps, ' ', 1, 1, 240, v))
        return malformed(FPS, fps, error);
    info.fps = int(v[0]);
    if (!numbers(size, 'x', 2, 16, 4096, v) || v[0] % 2 || v[1] % 2)
        return malformed(SIZE, size, error);
    info.width = int(v[0]);
    info.height = int(v[1]);
    info.totalFrames = frame_count(info.fromMs, info.toMs, info.fps);
    if (!numbers(frames, ' ', 3, 0, 1000000000, v) || v[2] != info.totalFrames || v[0] >= v[1] ||
        v[1] > v[2])
        return malformed(FRAMES, frames, error);
    info.span.first = v[0];
    info.span.end = v[1];
    const auto solo = tags.find(SOLO);
    info.solo = solo == tags.end() ? std::string() : solo->second;
    info.part = info.parts = 0;
    const auto slice = tags.find(SLICE);
    if (slice != tags.end()) {
        if (!numbers(slice->second, '/', 2, 1, 100000, v) || v[0] > v[1])
            return malformed(SLICE, slice->second, error);
        const FrameSpan expected = segment_slice(info.totalFrames, int(v[0]), int(v[1]));
        if (expected.first != info.span.first || expected.end != info.span.end)
            return malformed(SLICE, slice->second, error);
        info.part = int(v[0]);
        info.parts = int(v[1]);
    }
    return true;
}
