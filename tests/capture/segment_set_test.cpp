// Capture segments without rendering: which frames a slice holds, what a
// segment's metadata must say, and whether a set of segments makes one
// capture (the lines `wendit join` refuses with).
#include <gtest/gtest.h>

#include "offline/segment_span.h"
#include "segments/join_check.h"
#include "segments/segment_info.h"

namespace {
SegmentInfo range_10_13()
{
    SegmentInfo i;
    i.fromMs = 10000;
    i.toMs = 13000;
    i.fps = 30;
    i.width = 320;
    i.height = 180;
    i.totalFrames = 90;
    return i;
}

JoinSegment slice(const std::string& path, int k, int n, SegmentInfo i = range_10_13())
{
    i.totalFrames = (int64_t(i.toMs - i.fromMs) * i.fps + 999) / 1000;
    i.span = segment_slice(i.totalFrames, k, n);
    i.part = k;
    i.parts = n;
    return JoinSegment{path, i, i.span.count(), ""};
}

std::string check(const std::vector<JoinSegment>& set)
{
    std::vector<JoinSegment> ordered;
    return check_segment_set(set, ordered);
}
}  // namespace

TEST(CaptureSegmentSpan, SlicesCoverTheRangeOnceAndArgumentsAreChecked)
{
    for (int64_t total : {1, 7, 90, 2793})
        for (int n = 1; n <= 9 && n <= total; ++n) {
            int64_t next = 0;
            for (int k = 1; k <= n; ++k) {
                const FrameSpan s = segment_slice(total, k, n);
                EXPECT_EQ(s.first, next) << total << " " << k << "/" << n;
                EXPECT_GE(s.count(), total / n);
                EXPECT_LE(s.count(), total / n + 1);
                next = s.end;
            }
            EXPECT_EQ(next, total);
        }

    FrameSpan f;
    std::string error;
    EXPECT_TRUE(parse_frames_arg("30:60", f, error));
    EXPECT_EQ(f.first, 30);
    EXPECT_EQ(f.end, 60);
    for (const char* bad : {"30", "30:30", "60:30", "-1:5", "a:b", ":5", "5:"})
        EXPECT_FALSE(parse_frames_arg(bad, f, error)) << bad;
    int k = 0, n = 0;
    EXPECT_TRUE(parse_segment_arg("2/3", k, n, error));
    EXPECT_EQ(k, 2);
    EXPECT_EQ(n, 3);
    for (const char* bad : {"0/3", "4/3", "3", "1/0", "x/2"})
        EXPECT_FALSE(parse_segment_arg(bad, k, n, error)) << bad;
    EXPECT_NE(error.find("K/N"), std::string::npos) << error;
}

TEST(CaptureSegmentInfo, TagsReadBackAndDamagedOnesAreRefusedByName)
{
    SegmentInfo in = slice("a", 2, 3).info;
    in.solo = "title";
    SegmentInfo out;
    std::string error;
    ASSERT_TRUE(parse_segment_tags(segment_tags(in), out, error)) << error;
    EXPECT_EQ(out.fromMs, 10000);
    EXPECT_EQ(out.toMs, 13000);
    EXPECT_EQ(out.width, 320);
    EXPECT_EQ(out.span.first, 30);
    EXPECT_EQ(out.span.end, 60);
    EXPECT_EQ(out.solo, "title");
    EXPECT_EQ(out.name(), "segment 2/3");

    EXPECT_FALSE(parse_segment_tags(SegmentTags{}, out, error));
    EXPECT_EQ(error, "not a capture segment (no WENDIT_FRAMES in its metadata)");
    const struct {
        const char* key;
        const char* value;
    } damaged[] = {
        {"WENDIT_FRAMES", "30 60 91"},   // not the range's frame count
        {"WENDIT_FRAMES", "60 30 90"},   // ends before it begins
        {"WENDIT_FRAMES", "30 95 90"},   // past the range
        {"WENDIT_FRAMES", "30 60"},
        {"WENDIT_RANGE", "13000 10000"},
        {"WENDIT_FPS", "0"},
        {"WENDIT_SIZE", "321x180"},
        {"WENDIT_SIZE", "99999x180"},
        {"WENDIT_SEGMENT", "1/3"},       // slice 1 is not frames 30:60
        {"WENDIT_SEGMENT", "4/3"},
    };
    for (const auto& d : damaged) {
        SegmentTags t = segment_tags(in);
        t[d.key] = d.value;
        EXPECT_FALSE(parse_segment_tags(t, out, error)) << d.key << " " << d.value;
        EXPECT_EQ(error, std::string("damaged metadata: ") + d.key + " '" + d.value + "'");
    }
}

TEST(JoinCheck, ACompleteSetJoinsInFrameOrderWhateverOrderItIsGiven)
{
    std::vector<JoinSegment> ordered;
    EXPECT_EQ(check_segment_set({slice("c", 3, 3), slice("a", 1, 3), slice("b", 2, 3)}, ordered), "");
    ASSERT_EQ(ordered.size(), 3u);
    EXPECT_EQ(ordered[0].path + ordered[1].path + ordered[2].path, "abc");

    // Segments made with --frames mix with slices when they tile the range.
    JoinSegment head = slice("head", 1, 3);
    head.info.parts = head.info.part = 0;
    head.info.span = FrameSpan{0, 45};
    head.pictures = 45;
    JoinSegment tail = slice("tail", 2, 2);
    EXPECT_EQ(check({tail, head}), "");
}

TEST(JoinCheck, MissingIncompleteDuplicatedAndMismatchedSegmentsAreNamed)
{
    EXPECT_EQ(check({slice("a", 1, 3), slice("c", 3, 3)}),
              "segment 2/3 is missing: no segment holds frames 30:60, 00:00:11,000 to 00:00:12,000");
    EXPECT_EQ(check({slice("b", 2, 4)}),
              "segment 1/4 is missing: no segment holds frames 0:22, 00:00:10,000 to 00:00:10,733");
    EXPECT_EQ(check({slice("a", 1, 4), slice("b", 2, 4)}),
              "segments 3/4 and 4/4 are missing: no segment holds frames 45:90, 00:00:11,500 to 00:00:13,000");

    JoinSegment cut = slice("b", 2, 3);
    cut.pictures = 27;
    EXPECT_EQ(check({slice("a", 1, 3), cut, slice("c", 3, 3)}), "b: incomplete: 27 of its 30 pictures (segment 2/3)");

    EXPECT_EQ(check({slice("a", 1, 3), slice("b", 2, 3), slice("b2", 2, 3), slice("c", 3, 3)}),
              "b2: duplicates b (segment 2/3)");
    EXPECT_EQ(check({slice("a", 1, 2), slice("b", 2, 3), slice("c", 3, 3)}),
              "b: overlaps a (frames 30:60 and 0:45)");

    // The odd one out is named, wherever it stands among the others.
    SegmentInfo at25 = range_10_13();
    at25.fps = 25;
    EXPECT_EQ(check({slice("a", 1, 3, at25), slice("b", 2, 3), slice("c", 3, 3)}),
              "a: 25 fps, where the others have 30 fps");
    SegmentInfo big = range_10_13();
    big.width = 640;
    EXPECT_EQ(check({slice("a", 1, 3), slice("b", 2, 3, big), slice("c", 3, 3)}),
              "b: 640x180, where the others have 320x180");
    SegmentInfo longer = range_10_13();
    longer.toMs = 14000;
    EXPECT_EQ(check({slice("a", 1, 2), slice("b", 2, 2, longer)}),
              "b: the range 00:00:10,000 to 00:00:14,000, where a has the range 00:00:10,000 to 00:00:13,000");
    SegmentInfo solo = range_10_13();
    solo.solo = "title";
    EXPECT_EQ(check({slice("a", 1, 3), slice("b", 2, 3), slice("c", 3, 3, solo)}),
              "c: layer 'title' alone, where the others have the whole picture");
    EXPECT_EQ(check({}), "no segments given");

    // H.264 slices are copied, lossless ones encoded: never both in one
    // video; and copied slices must share their stream parameters.
    SegmentInfo flat = range_10_13();
    flat.lossless = true;
    EXPECT_EQ(check({slice("a", 1, 3), slice("b", 2, 3, flat), slice("c", 3, 3)}),
              "b: FFV1 pictures (--lossless), where the others have H.264 pictures");
    std::vector<JoinSegment> set = {slice("a", 1, 3), slice("b", 2, 3), slice("c", 3, 3)};
    for (JoinSegment& j : set)
        j.setup = "sps-pps";
    set[2].setup = "sps-pps of another encoder";
    EXPECT_EQ(check(set), "c: H.264 stream parameters unlike those of the others (encoded with other settings)");
    set[1].setup = set[2].setup = "";
    set[0].info.lossless = set[1].info.lossless = set[2].info.lossless = true;
    set[0].setup = "one FFV1 header";
    EXPECT_EQ(check(set), "") << "lossless ones are decoded one by one";
}
