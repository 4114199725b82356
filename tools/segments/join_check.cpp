#include "segments/join_check.h"

#include <algorithm>
#include <functional>
#include <map>

#include "offline/frame_timing.h"
#include "util/time_code.h"

namespace {
std::string range_text(const SegmentInfo& i)
{
    return "the range " + time_code(i.fromMs) + " to " + time_code(i.toMs);
}

std::string layer_text(const SegmentInfo& i)
{
    return i.solo.empty() ? std::string("the whole picture") : "layer '" + i.solo + "' alone";
}

std::string frames_and_times(const SegmentInfo& i, const FrameSpan& s)
{
    return "frames " + frames_text(s) + ", " + time_code(int(frame_time_ms(i.fromMs, s.first, i.fps))) + " to " +
           time_code(int(frame_time_ms(i.fromMs, s.end, i.fps)));
}

// The first segment (in the order given) whose `key` differs from the most
// common value among all of them; -1 when all agree.
int odd_one(const std::vector<JoinSegment>& s, const std::function<std::string(const SegmentInfo&)>& key)
{
    std::map<std::string, int> votes;
    for (const JoinSegment& j : s)
        ++votes[key(j.info)];
    std::string common = key(s[0].info);
    for (const auto& v : votes)
        if (v.second > votes[common])
            common = v.first;
    for (size_t i = 0; i < s.size(); ++i)
        if (key(s[i].info) != common)
            return int(i);
    return -1;
}

// The slices of N that lie in a gap, when the others were made with
// --segment: "segment 2/3 is missing".
std::string missing_slices(const std::vector<JoinSegment>& s, const FrameSpan& gap)
{
    const int parts = s[0].info.parts;
    if (parts <= 0)
        return std::string();
    for (const JoinSegment& j : s)
        if (j.info.parts != parts)
            return std::string();
    std::vector<int> missing;
    for (int k = 1; k <= parts; ++k) {
        const FrameSpan slice = segment_slice(s[0].info.totalFrames, k, parts);
        if (slice.first >= gap.first && slice.end <= gap.end)
            missing.push_back(k);
    }
    if (missing.empty())
        return std::string();
    std::string names;
    for (size_t i = 0; i < missing.size(); ++i)
        names += (i ? (i + 1 == missing.size() ? " and " : ", ") : "") + std::to_string(missing[i]) + "/" +
                 std::to_string(parts);
    return "segment" + std::string(missing.size() > 1 ? "s " : " ") + names + (missing.size() > 1 ? " are" : " is") +
           " missing: ";
}
}  // namespace

std::string check_segment_set(const std::vector<JoinSegment>& segments, std::vector<JoinSegment>& ordered)
{
    ordered.clear();
    if (segments.empty())
        return "no segments given";
    for (const JoinSegment& j : segments) {
        const int64_t promised = j.info.span.count();
        if (j.pictures < promised)
            return j.path + ": incomplete: " + std::to_string(j.pictures) + " of its " + std::to_string(promised) +
                   " pictures (" + j.info.name() + ")";
        if (j.pictures > promised)
            return j.path + ": damaged: " + std::to_string(j.pictures) + " pictures where its metadata says " +
                   std::to_string(promised);
    }

    struct Field {
        std::function<std::string(const SegmentInfo&)> text;
    };
    const Field fields[] = {
        {[](const SegmentInfo& i) { return std::string(i.lossless ? "FFV1 pictures (--lossless)" : "H.264 pictures"); }},
        {range_text},
        {[](const SegmentInfo& i) { return std::to_string(i.fps) + " fps"; }},
        {[](const SegmentInfo& i) { return std::to_string(i.width) + "x" + std::to_string(i.height); }},
        {layer_text},
    };
    for (const Field& f : fields) {
        const int odd = odd_one(segments, f.text);
        if (odd >= 0) {
            const JoinSegment& other = segments[odd == 0 ? 1 : 0];
            return segments[size_t(odd)].path + ": " + f.text(segments[size_t(odd)].info) + ", where " +
                   (segments.size() > 2 ? "the others have " : other.path + " has ") + f.text(other.info);
        }
    }

    // Slices are joined by copying only when each decodes with the same
    // stream parameters as the others.
    std::map<std::string, int> setups;
    for (const JoinSegment& j : segments)
        ++setups[j.setup];
    if (!segments[0].info.lossless && setups.size() > 1) {
        std::string common = segments[0].setup;
        for (const auto& v : setups)
            if (v.second > setups[common])
                common = v.first;
        for (size_t i = 0; i < segments.size(); ++i)
            if (segments[i].setup != common) {
                const JoinSegment& other = segments[segments[0].setup == common ? 0 : 1];
                return segments[i].path + ": H.264 stream parameters unlike those of " +
                       (segments.size() > 2 ? std::string("the others") : other.path) +
                       " (encoded with other settings)";
            }
    }

    ordered = segments;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const JoinSegment& a, const JoinSegment& b) { return a.info.span.first < b.info.span.first; });
    const SegmentInfo& range = ordered[0].info;
    int64_t covered = 0;  // frames 0 .. covered - 1 are in a segment so far
    for (size_t i = 0; i < ordered.size(); ++i) {
        const JoinSegment& j = ordered[i];
        if (j.info.span.first > covered) {
            const FrameSpan gap{covered, j.info.span.first};
            ordered.clear();
            return missing_slices(segments, gap) + "no segment holds " + frames_and_times(range, gap);
        }
        if (j.info.span.first < covered) {
            const JoinSegment& before = ordered[i - 1];
            const bool same = before.info.span.first == j.info.span.first && before.info.span.end == j.info.span.end;
            const std::string line = j.path + (same ? ": duplicates " : ": overlaps ") + before.path + " (" +
                                     (same ? j.info.name() : "frames " + frames_text(j.info.span) + " and " +
                                                                 frames_text(before.info.span)) +
                                     ")";
            ordered.clear();
            return line;
        }
        covered = j.info.span.end;
    }
    if (covered < range.totalFrames) {
        const FrameSpan gap{covered, range.totalFrames};
        ordered.clear();
        return missing_slices(segments, gap) + "no segment holds " + frames_and_times(range, gap);
    }
    return std::string();
}
