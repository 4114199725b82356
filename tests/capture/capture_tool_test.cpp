// `wendit capture` and `wendit contact` run as a person runs them, with no
// display and no sound device named (DISPLAY and SDL_AUDIODRIVER unset), on
// the data tree ./test.sh bakes; the results are decoded independently.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "capture/decoded_media.h"
#include "offline/png_file.h"
#include "platform/mp3_decode.h"
#include "support/run_tool.h"

namespace {
const std::string HEADLESS = "env -u DISPLAY -u SDL_AUDIODRIVER ./wendit ";

std::string temp_dir(const std::string& name)
{
    const std::string d = testing::TempDir() + "capture_" + name + "_" + std::to_string(getpid());
    std::system(("rm -rf '" + d + "' && mkdir -p '" + d + "'").c_str());
    return d;
}

bool exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

}  // namespace

// Frames at 1.5 s .. 2.7 s span a chord change at 2 s and several beats.
TEST(WenditCapture, RepeatableFramesAndExactSpans)
{
    const std::string d = temp_dir("repeat");
    const std::string common = "capture --fps 10 --size 320x180 ";
    ToolRun a = run_tool(HEADLESS + common + "--from 1.5 --to 2.7 -o " + d + "/a.mp4 --png " + d + "/a");
    ASSERT_EQ(a.exitCode, 0) << a.err;
    EXPECT_EQ(a.out.find("wrote " + d + "/a.mp4 and " + d + "/a/frame_*.png: 12 frames 320x180 at 10 fps"), 0u)
        << a.out;
    EXPECT_EQ(std::count(a.out.begin(), a.out.end(), '\n'), 1) << "only the summary off a terminal";
    EXPECT_FALSE(exists(d + "/a.mp4.part"));
    ToolRun b = run_tool(HEADLESS + common + "--from 1.5 --to 2.7 -o " + d + "/b.mp4");
    ASSERT_EQ(b.exitCode, 0) << b.err;
    ToolRun c = run_tool(HEADLESS + common + "--from 00:00:02,000 --to 2.3 --png " + d + "/c");
    ASSERT_EQ(c.exitCode, 0) << c.err;
    EXPECT_FALSE(exists(d + "/morvane.mp4")) << "PNG frames alone write no video";

    DecodedMedia ma = decode_media(d + "/a.mp4"), mb = decode_media(d + "/b.mp4");
    ASSERT_TRUE(ma.ok && mb.ok);
    ASSERT_EQ(ma.frameSums.size(), 12u);
    EXPECT_EQ(ma.frameSums, mb.frameSums);
    // Not a still: the chord change and the beats show.
    EXPECT_GT(std::set<uint64_t>(ma.frameSums.begin(), ma.frameSums.end()).size(), 2u);

    // 2.0 .. 2.3 s are frames 5, 6, 7 of the 1.5 s capture, pixel for pixel.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(read_whole_file(png_frame_path(d + "/c", i)), read_whole_file(png_frame_path(d + "/a", i + 5)))
            << "frame " << i;
    EXPECT_FALSE(exists(png_frame_path(d + "/c", 3)));

    // The streams: H.264 at the asked rate and size, AAC stereo, both as
    // long as the range within one frame.
    EXPECT_EQ(ma.videoStreams, 1);
    EXPECT_EQ(ma.audioStreams, 1);
    EXPECT_EQ(ma.videoCodec, "h264");
    EXPECT_EQ(ma.pixelFormat, "yuv420p");
    EXPECT_EQ(ma.width, 320);
    EXPECT_EQ(ma.height, 180);
    EXPECT_DOUBLE_EQ(ma.fps, 10.0);
    EXPECT_EQ(ma.audioCodec, "aac");
    EXPECT_EQ(ma.channels, 2);
    EXPECT_NEAR(ma.videoSeconds, 1.2, 0.1);
    EXPECT_NEAR(double(ma.left.size()) / ma.rate, 1.2, 0.1);
}

// The sound of a capture from s03 is the music from s03's time: the best
// match of the two lies within a millisecond.
TEST(WenditCapture, SoundStartsAtTheRangeSampleExact)
{
    const std::string d = temp_dir("sound");
    ToolRun r = run_tool(HEADLESS + "capture --fps 10 --size 64x36 --from s03 --to 26 -o " + d + "/s.mp4");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    DecodedMedia m = decode_media(d + "/s.mp4");
    ASSERT_TRUE(m.ok);
    ASSERT_EQ(m.rate, 44100);
    std::vector<int16_t> pcm;
    std::string detail;
    ASSERT_EQ(decode_mp3_file("../data/music/GLOAM2.mp3", 44100, pcm, detail), Mp3DecodeResult::ok) << detail;

    const int64_t s03 = 25500 * 44100 / 1000;
    const int window = 8192, skip = 2048;  // past the encoder's first block
    ASSERT_GT(m.left.size(), size_t(skip + window));
    int bestLag = 0;
    double best = -1e300;
    for (int lag = -441; lag <= 441; ++lag) {
        double sum = 0.0;
        for (int i = 0; i < window; ++i)
            sum += m.left[size_t(skip + i)] * (pcm[size_t(2 * (s03 + skip + i + lag))] / 32768.0);
        if (sum > best) {
            best = sum;
            bestLag = lag;
        }
    }
    EXPECT_LE(std::abs(bestLag), 44) << "offset " << bestLag << " samples";
}

TEST(WenditCapture, BadArgumentsSayWhatAndWriteNothing)
{
    const std::string d = temp_dir("bad");
    const struct {
        std::string args, message;
    } cases[] = {
        {"--fps 0", "--fps '0': frames per second must be a whole number from 1 to 240"},
        {"--fps 241", "--fps '241'"},
        {"--from nosuch", "'nosuch' is neither a time"},
        {"--from 5 --to s01", "is empty"},
        {"--to 500", "lies outside the show"},
        {"-o /nonexistent/x.mp4", "the output directory '/nonexistent' does not exist"},
        {"--png /nonexistent/frames", "the PNG directory '/nonexistent' does not exist"},
        {"--loud", "unexpected argument '--loud'"},
        {"--from", "--from needs a value"},
    };
    for (const auto& c : cases) {
        ToolRun r = run_tool(HEADLESS + "capture -o " + d + "/x.mp4 " + c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args;
        EXPECT_EQ(r.err.find("wendit capture: "), 0u) << c.args << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.args << ": " << r.err;
    }
    ToolRun r = run_tool(HEADLESS + "contact --count 0 -o " + d + "/c.png");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(read_whole_file(d + "/x.mp4") + read_whole_file(d + "/x.mp4.part") + read_whole_file(d + "/c.png"), "");
}

TEST(WenditCapture, InterruptedCaptureLeavesNoFile)
{
    const std::string d = temp_dir("stop");
    const std::string out = d + "/x.mp4";
    // Stopped once the temporary file exists, i.e. in the middle of writing.
    ToolRun r = run_tool("(" + HEADLESS + "capture --size 320x180 --from 0 --to 60 -o " + out +
                         " & p=$!; i=0; while [ ! -s " + out + ".part ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done;"
                         " kill -INT $p; wait $p; echo \"exit $?\")");
    EXPECT_NE(r.out.find("exit 130"), std::string::npos) << r.out << r.err;
    EXPECT_NE(r.err.find("wendit capture: interrupted at frame "), std::string::npos) << r.err;
    EXPECT_FALSE(exists(out));
    EXPECT_FALSE(exists(out + ".part"));
}

// A capture killed hard leaves its .part; the next one to the same name says
// so and replaces it. One still being written (its lock held) is left alone,
// and no output may carry the temporary name.
TEST(WenditCapture, StalePartialFileIsReplacedALiveOneIsNot)
{
    const std::string d = temp_dir("stale");
    const std::string out = d + "/x.mp4";
    const std::string range = "capture --fps 10 --size 320x180 --from 1 --to 1.3 -o ";
    std::ofstream(out + ".part") << "half a video from a capture that was killed";
    ToolRun r = run_tool(HEADLESS + range + out);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("wendit capture: found a stale partial file " + out + ".part (left by a capture that did "
                         "not finish); replacing it\n"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(exists(out + ".part"));
    EXPECT_EQ(read_whole_file(out).compare(4, 4, "ftyp"), 0) << "a whole MP4";

    // Another capture's file, locked while it writes.
    std::remove(out.c_str());
    std::ofstream(out + ".part") << "being written";
    ToolRun live = run_tool("flock " + out + ".part " + HEADLESS + range + out);
    EXPECT_EQ(live.exitCode, 1) << live.err;
    EXPECT_NE(live.err.find("another capture is writing " + out + ".part now"), std::string::npos) << live.err;
    EXPECT_EQ(read_whole_file(out + ".part"), "being written");
    EXPECT_FALSE(exists(out));

    ToolRun named = run_tool(HEADLESS + range + d + "/y.mp4.part");
    EXPECT_EQ(named.exitCode, 2);
    EXPECT_NE(named.err.find("ends in .part, the name of an unfinished capture"), std::string::npos) << named.err;
}

// A file-size limit fails writes the way a full disk does.
TEST(WenditCapture, WriteFailureRemovesTheTemporaryFile)
{
    const std::string d = temp_dir("full");
    ToolRun r = run_tool("ulimit -S -f 16; " + HEADLESS + "capture --size 320x180 --from 0 --to 10 -o " + d + "/x.mp4");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("wendit capture: writing the video file failed: File too large"), std::string::npos)
        << r.err;
    EXPECT_FALSE(exists(d + "/x.mp4"));
    EXPECT_FALSE(exists(d + "/x.mp4.part"));
}

TEST(WenditCapture, SoloDrawsOneLayerAloneByItsName)
{
    const std::string d = temp_dir("solo");
    const std::string range = "capture --fps 10 --size 320x180 --from 5 --to 5.1 ";
    ToolRun all = run_tool(HEADLESS + range + "--png " + d + "/all");
    ToolRun solo = run_tool(HEADLESS + range + "--solo title --png " + d + "/solo");
    ASSERT_EQ(all.exitCode, 0) << all.err;
    ASSERT_EQ(solo.exitCode, 0) << solo.err;
    EXPECT_NE(solo.out.find(", layer 'title' alone,"), std::string::npos) << solo.out;
    // The title modulates the layers under it; alone it is its own picture.
    EXPECT_NE(read_whole_file(png_frame_path(d + "/all", 0)), read_whole_file(png_frame_path(d + "/solo", 0)));

    ToolRun bad = run_tool(HEADLESS + range + "--solo nosuch -o " + d + "/x.mp4");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("wendit capture: --solo 'nosuch': no layer scene of that name (there are 'mandalacube', "
                           "'title', "),
              std::string::npos)
        << bad.err;
    EXPECT_FALSE(exists(d + "/x.mp4") || exists(d + "/x.mp4.part"));
}

TEST(WenditContact, GridOfLabelledFrames)
{
    const std::string d = temp_dir("contact");
    ToolRun r = run_tool(HEADLESS + "contact --from 0 --to 6 --count 5 -o " + d + "/sheet.png");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "wrote " + d + "/sheet.png: 5 frames from 00:00:00,000 to 00:00:06,000 in a 3x2 grid\n");
    // PNG header: width and height, big-endian, at bytes 16..23.
    const std::string bytes = read_whole_file(d + "/sheet.png");
    ASSERT_GT(bytes.size(), 24u);
    auto be32 = [&](size_t at) {
        return (unsigned(uint8_t(bytes[at])) << 24) | (unsigned(uint8_t(bytes[at + 1])) << 16) |
               (unsigned(uint8_t(bytes[at + 2])) << 8) | unsigned(uint8_t(bytes[at + 3]));
    };
    EXPECT_EQ(be32(16), 12u + 3u * (320u + 12u));
    EXPECT_EQ(be32(20), 12u + 2u * (180u + 44u + 12u));
}
