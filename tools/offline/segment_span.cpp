#include "offline/segment_span.h"

#include <cstdlib>

namespace {
bool parse_count(const std::string& text, int64_t max, int64_t& out)
{
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    out = std::strtoll(text.c_str(), nullptr, 10);
    return out <= max;
}
}  // namespace

bool parse_frames_arg(const std::string& text, FrameSpan& span, std::string& error)
{
    const size_t colon = text.find(':');
    int64_t a = 0, b = 0;
    if (colon == std::string::npos || !parse_count(text.substr(0, colon), 999999999, a) ||
        !parse_count(text.substr(colon + 1), 999999999, b)) {
        error = "--frames '" + text + "': give A:B, the frames A up to B (not included) of the range's grid";
        return false;
    }
    if (b <= a) {
        error = "--frames '" + text + "': the frames up to " + std::to_string(b) + " end before they begin";
        return false;
    }
    span.first = a;
    span.end = b;
    return true;
}

bool parse_segment_arg(const std::string& text, int& k, int& n, std::string& error)
{
    const size_t slash = text.find('/');
    int64_t a = 0, b = 0;
    if (slash == std::string::npos || !parse_count(text.substr(0, slash), 100000, a) ||
        !parse_count(text.substr(slash + 1), 100000, b) || a < 1 || b < 1 || a > b) {
        error = "--segment '" + text + "': give K/N, the K-th of N equal slices of the range (K from 1 to N)";
        return false;
    }
    k = int(a);
    n = int(b);
    return true;
}

FrameSpan segment_slice(int64_t total, int k, int n)
{
    FrameSpan s;
    s.first = total * (k - 1) / n;
    s.end = total * k / n;
    return s;
}

std::string frames_text(const FrameSpan& span)
{
    return std::to_string(span.first) + ":" + std::to_string(span.end);
}
