// A capture rendered in segments on several processes (scripts/farm.sh,
// GNU parallel) and joined, against one `wendit capture` of the same range,
// run as a person runs them: no display and no sound device named. The
// videos are decoded independently.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "capture/decoded_media.h"
#include "platform/mp3_decode.h"
#include "support/run_tool.h"

namespace {
const std::string HEADLESS = "env -u DISPLAY -u SDL_AUDIODRIVER ";
const std::string RANGE = "--from 10 --to 13 --fps 30 --size 320x180";

bool exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

int lines(const std::string& text)
{
    return int(std::count(text.begin(), text.end(), '\n'));
}

// The offset (in samples, within ±10 ms) at which `sound` best matches the
// music from sample `at` on.
int best_lag(const std::vector<float>& sound, const std::vector<int16_t>& music, int64_t at)
{
    const int window = 8192, skip = 2048;  // past the encoder's first block
    int bestLag = 0;
    double best = -1e300;
    for (int lag = -441; lag <= 441; ++lag) {
        double sum = 0.0;
        for (int i = 0; i < window; ++i)
            sum += sound[size_t(skip + i)] * (music[size_t(2 * (at + skip + i + lag))] / 32768.0);
        if (sum > best) {
            best = sum;
            bestLag = lag;
        }
    }
    return bestLag;
}

// One single capture and one farm run of 10..13 s: the farm's first run
// loses a worker (killed outright) and is run again.
class FarmCapture : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = testing::TempDir() + "farm_" + std::to_string(getpid());
        std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
        work = dir + "/work";
        single = run_tool(HEADLESS + "./wendit capture " + RANGE + " -o " + dir + "/one.mp4");

        const std::string farm = HEADLESS + "../scripts/farm.sh --jobs 3 --keep --work " + work + " " + RANGE +
                                 " -o " + dir + "/farm.mp4";
        // Segment 2's capture is killed once it has begun writing.
        const std::string part = work + "/segment_2_of_3.mkv.part";
        killed = run_tool("(" + farm + " --retries 0 & f=$!; i=0; while [ ! -e " + part +
                          " ] && [ $i -lt 1200 ]; do sleep 0.05; i=$((i+1)); done;"
                          // (a pattern that does not match this shell's own command line)
                          " pkill -KILL -f -- '[-]o " + work + "/segment_2_of_3[.]mkv'; wait $f; echo \"exit $?\";"
                          " ls " + work + "; test -e " + dir + "/farm.mp4 && echo joined)");
        rerun = run_tool(farm);
        lossless = run_tool(HEADLESS + "../scripts/farm.sh --lossless --jobs 3 --keep --work " + dir + "/lossless " +
                            RANGE + " -o " + dir + "/lossless.mp4");
        std::ifstream log(work + "/joblog");
        std::string line;
        while (std::getline(log, line))
            rerunJobs += line.empty() || line.compare(0, 3, "Seq") == 0 ? 0 : 1;
    }
    static void TearDownTestSuite() { std::system(("rm -rf '" + dir + "'").c_str()); }

    void dead_worker_leaves_no_segment_and_the_rerun_renders_only_it();
    void joined_video_is_the_single_capture_with_the_music_in_place();
    void join_refuses_a_set_that_is_not_one_capture();

    static std::string dir, work;
    static ToolRun single, killed, rerun, lossless;
    static int rerunJobs;
};
std::string FarmCapture::dir, FarmCapture::work;
ToolRun FarmCapture::single, FarmCapture::killed, FarmCapture::rerun, FarmCapture::lossless;
int FarmCapture::rerunJobs = 0;
}  // namespace

void FarmCapture::dead_worker_leaves_no_segment_and_the_rerun_renders_only_it()
{
    EXPECT_NE(killed.out.find("exit 1"), std::string::npos) << killed.out << killed.err;
    EXPECT_NE(killed.err.find("farm: 1 segment(s) missing (2/3); run the same command again"), std::string::npos)
        << killed.err;
    EXPECT_EQ(killed.out.find("segment_2_of_3.mkv\n"), std::string::npos) << "no final name: " << killed.out;
    EXPECT_NE(killed.out.find("segment_1_of_3.mkv\n"), std::string::npos) << killed.out;
    EXPECT_EQ(killed.out.find("joined"), std::string::npos) << "no video from an incomplete set";

    ASSERT_EQ(rerun.exitCode, 0) << rerun.err;
    EXPECT_NE(rerun.err.find("farm: 2 of 3 segments are done already"), std::string::npos) << rerun.err;
    EXPECT_EQ(rerunJobs, 1);
    EXPECT_EQ(rerun.out.find("wrote " + dir + "/farm.mp4: 90 frames 320x180 at 30 fps, 00:00:10,000 to 00:00:13,000, "
                             "with sound, from 3 segments, in "),
              0u)
        << rerun.out;
    EXPECT_EQ(lines(rerun.out), 1);
    EXPECT_FALSE(exists(work + "/segment_2_of_3.mkv.part"));
}

void FarmCapture::joined_video_is_the_single_capture_with_the_music_in_place()
{
    ASSERT_EQ(single.exitCode, 0) << single.err;
    ASSERT_EQ(rerun.exitCode, 0) << rerun.err;
    DecodedMedia one = decode_media(dir + "/one.mp4", true), joined = decode_media(dir + "/farm.mp4", true);
    ASSERT_TRUE(one.ok && joined.ok);
    ASSERT_EQ(one.pictures.size(), 90u);
    ASSERT_EQ(joined.pictures.size(), 90u);
    // Every slice was encoded on its own, opening on a keyframe: its
    // pictures are the single capture's up to the encoder's rounding of
    // the film grain, which two encodings at this quality round apart by
    // 35 to 45 dB; a picture out of place (its neighbour's grain and
    // motion) or a broken slice edge falls well below.
    double sum = 0.0;
    for (size_t n = 0; n < 90; ++n) {
        const double db = std::min(psnr_db(joined.pictures[n], one.pictures[n]), 99.0);
        EXPECT_GE(db, 33.0) << "frame " << n;
        sum += db;
    }
    EXPECT_GE(sum / 90, 40.0);
    EXPECT_EQ(joined.timesMs, one.timesMs) << "one continuous stream";
    EXPECT_EQ(joined.videoCodec, "h264");
    EXPECT_EQ(joined.pixelFormat, "yuv420p");
    EXPECT_EQ(joined.audioCodec, "aac");
    EXPECT_NEAR(joined.videoSeconds, 3.0, 1.0 / 30);
    EXPECT_NEAR(double(joined.left.size()) / joined.rate, joined.videoSeconds, 1.0 / 30);

    std::vector<int16_t> music;
    std::string detail;
    ASSERT_EQ(decode_mp3_file("../data/music/GLOAM2.mp3", 44100, music, detail), Mp3DecodeResult::ok) << detail;
    const int lag = best_lag(joined.left, music, int64_t(10000) * 44100 / 1000);
    EXPECT_LE(std::abs(lag), 44) << "offset " << lag << " samples";

    // Lossless slices still join into the single capture's very pictures.
    ASSERT_EQ(lossless.exitCode, 0) << lossless.err;
    EXPECT_EQ(decode_media(dir + "/lossless.mp4").frameSums, one.frameSums);
}

void FarmCapture::join_refuses_a_set_that_is_not_one_capture()
{
    ASSERT_EQ(rerun.exitCode, 0) << rerun.err;
    const std::string s1 = work + "/segment_1_of_3.mkv", s2 = work + "/segment_2_of_3.mkv",
                      s3 = work + "/segment_3_of_3.mkv";
    const std::string at25 = dir + "/at25.mkv", cut = dir + "/cut.mkv", bad = dir + "/bad.mkv",
                      part = dir + "/s2.mkv.part";
    const std::string flat = dir + "/lossless/segment_2_of_3.mkv";
    ToolRun other = run_tool(HEADLESS + "./wendit capture --from 10 --to 13 --fps 25 --size 320x180 --segment 2/3 -o " +
                             at25);
    ASSERT_EQ(other.exitCode, 0) << other.err;
    // A copy that broke off half way, and one with four bytes changed a
    // third of the way in (among its pictures).
    std::system(("n=$(stat -c %s " + s2 + "); head -c $((n / 2)) " + s2 + " > " + cut + "; cp " + s2 + " " + part +
                 "; cp " + s2 + " " + bad + "; printf '\\377\\377\\377\\377' | dd of=" + bad +
                 " bs=1 seek=$((n / 3)) conv=notrunc 2>/dev/null")
                    .c_str());
    const struct {
        std::string set, message;
    } cases[] = {
        {s1 + " " + s3, "wendit join: segment 2/3 is missing: no segment holds frames 30:60, 00:00:11,000 to 00:00:12,000"},
        {s1 + " " + at25 + " " + s3, "wendit join: " + at25 + ": 25 fps, where the others have 30 fps"},
        {s1 + " " + s2 + " " + s2 + " " + s3, "wendit join: " + s2 + ": duplicates " + s2 + " (segment 2/3)"},
        {s1 + " " + cut + " " + s3, "wendit join: " + cut + ": incomplete: "},
        {s1 + " " + bad + " " + s3, "wendit join: " + bad + ": damaged: the data at bytes "},
        {s1 + " " + flat + " " + s3,
         "wendit join: " + flat + ": FFV1 pictures (--lossless), where the others have H.264 pictures"},
        {s1 + " " + part + " " + s3, "wendit join: " + part + ": an unfinished segment"},
        {s1 + " " + dir + "/s4.mkv " + s3, "wendit join: " + dir + "/s4.mkv: no such file"},
        {s1 + " " + dir + "/one.mp4 " + s3, "wendit join: " + dir + "/one.mp4: not a capture segment"},
        {"", "wendit join: no segments given"},
    };
    for (const auto& c : cases) {
        ToolRun r = run_tool("./wendit join " + c.set + " -o " + dir + "/x.mp4");
        EXPECT_EQ(r.exitCode, 2) << c.set;
        EXPECT_EQ(r.err.find(c.message), 0u) << c.set << ": " << r.err;
        EXPECT_EQ(lines(r.err), 1) << r.err;
    }
    ToolRun self = run_tool("./wendit join " + s1 + " " + s2 + " " + s3 + " -o " + s2);
    EXPECT_EQ(self.exitCode, 2);
    EXPECT_NE(self.err.find("is one of the segments"), std::string::npos) << self.err;
    EXPECT_FALSE(exists(dir + "/x.mp4") || exists(dir + "/x.mp4.part"));
}

// The done-when of the render farm in one test (each test is a process of
// its own under CTest, and the farm is the slow part): three segments of
// 10..13 s rendered in parallel, a worker killed and the farm run again,
// the joined video against the single capture, and join's refusals of sets
// made from those segments.
TEST_F(FarmCapture, SegmentsRenderedInParallelJoinIntoTheSingleCapture)
{
    {
        SCOPED_TRACE("a dead worker");
        dead_worker_leaves_no_segment_and_the_rerun_renders_only_it();
    }
    {
        SCOPED_TRACE("the joined video");
        joined_video_is_the_single_capture_with_the_music_in_place();
    }
    {
        SCOPED_TRACE("join's refusals");
        join_refuses_a_set_that_is_not_one_capture();
    }
}

TEST(WenditCaptureSegment, BadSegmentArgumentsSayWhatAndWriteNothing)
{
    const std::string d = testing::TempDir() + "segargs_" + std::to_string(getpid());
    std::system(("rm -rf '" + d + "' && mkdir -p '" + d + "'").c_str());
    const struct {
        std::string args, message;
    } cases[] = {
        {"--segment 0/3", "--segment '0/3': give K/N"},
        {"--frames 5:5", "--frames '5:5': the frames up to 5 end before they begin"},
        {"--frames 0:91", "--frames 0:91: the range 00:00:10,000 to 00:00:13,000 at 30 fps has 90 frames (0:90)"},
        {"--segment 1/91", "the range has 90 frames, too few for 91 segments"},
        {"--segment 1/3 --frames 0:3", "--frames and --segment both choose the frames"},
        {"--segment 1/3 -o " + d + "/x.mp4", "a segment is a Matroska file: name it FILE.mkv"},
        {"--lossless -o " + d + "/x.mp4", "--lossless is for segments (--segment K/N or --frames A:B)"},
    };
    for (const auto& c : cases) {
        ToolRun r = run_tool(HEADLESS + "./wendit capture --from 10 --to 13 -o " + d + "/x.mkv " + c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args;
        EXPECT_EQ(r.err.find("wendit capture: "), 0u) << c.args << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(lines(r.err), 1) << r.err;
    }
    ToolRun plan = run_tool("./wendit capture --from 10 --to 13 --segment 2/3 --dry-run -o " + d + "/x.mkv");
    EXPECT_EQ(plan.out, "would write " + d + "/x.mkv: 30 frames (30:60 of 90) 1280x720 at 30 fps, 00:00:10,000 to "
                        "00:00:13,000\n");
    std::system(("ls -A '" + d + "' > '" + d + ".ls'").c_str());
    std::ifstream ls(d + ".ls");
    std::stringstream listing;
    listing << ls.rdbuf();
    EXPECT_EQ(listing.str(), "") << "nothing written";
    std::system(("rm -rf '" + d + "' '" + d + ".ls'").c_str());
}

// Over ssh, against a real OpenSSH server of the test's own on a loopback
// port (local_sshd.sh): two "hosts" that are this machine at two home
// directories render the segments, which come back and join; a host that
// refuses the login and one nothing listens on are passed over; a worker
// killed on its host leaves its segment missing and the rerun renders only
// that one. Run as CI runs it: no SHELL, no TERM.
class FarmOverSsh : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = testing::TempDir() + "farm_ssh_" + std::to_string(getpid());
        std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
        started = run_tool(WENDIT_SOURCE_DIR "/tests/capture/local_sshd.sh start " + dir + "/sshd");
    }
    static void TearDownTestSuite()
    {
        run_tool(WENDIT_SOURCE_DIR "/tests/capture/local_sshd.sh stop " + dir + "/sshd");
        std::system(("rm -rf '" + dir + "'").c_str());
    }

    // scripts/farm.sh over the hosts named, in CI's bare environment.
    static std::string farm_command(const std::string& hosts, const std::string& extra,
                                    const std::string& range = RANGE_SSH)
    {
        std::system(("printf '" + hosts + "' > " + dir + "/hosts").c_str());
        return "env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=\"$HOME\" PARALLEL_SSH=" + dir +
               "/sshd/ssh LP_NUM_THREADS=1 ../scripts/farm.sh --hosts " + dir + "/hosts --keep --work " + dir +
               "/work " + range + " -o " + dir + "/farm.mp4 " + extra;
    }
    static ToolRun farm(const std::string& hosts, const std::string& extra, const std::string& range = RANGE_SSH)
    {
        return run_tool(farm_command(hosts, extra, range));
    }

    static int jobs_on(const std::string& host)
    {
        std::ifstream log(dir + "/work/joblog");
        std::string line;
        int n = 0;
        while (std::getline(log, line))
            n += line.find("\t" + host + "\t") != std::string::npos;
        return n;
    }

    static std::string leftovers()
    {
        return run_tool("find " + dir + "/sshd/hostA " + dir + "/sshd/hostB -name '*.mkv*'").out;
    }

    static const std::string RANGE_SSH;
    static std::string dir;
    static ToolRun started;
};
const std::string FarmOverSsh::RANGE_SSH = "--from 10 --to 11 --fps 10 --size 64x36";
std::string FarmOverSsh::dir;
ToolRun FarmOverSsh::started;

TEST_F(FarmOverSsh, SegmentsComeBackFromTwoHostsAndThoseThatFailAreWorkedAround)
{
    ASSERT_EQ(started.exitCode, 0) << started.err;
    ToolRun single = run_tool(HEADLESS + "./wendit capture " + RANGE_SSH + " -o " + dir + "/one.mp4");
    ASSERT_EQ(single.exitCode, 0) << single.err;
    const DecodedMedia one = decode_media(dir + "/one.mp4");
    auto same_video = [&]() {
        DecodedMedia joined = decode_media(dir + "/farm.mp4");
        EXPECT_EQ(joined.timesMs, one.timesMs);
        EXPECT_EQ(joined.audioCodec, "aac");
        std::system(("rm -rf " + dir + "/work " + dir + "/farm.mp4").c_str());
    };
    {
        SCOPED_TRACE("two hosts");
        ToolRun r = farm("1/hostA\\n1/hostB\\n", "");
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_EQ(jobs_on("hostA"), 1);
        EXPECT_EQ(jobs_on("hostB"), 1);
        EXPECT_NE(r.err.find("farm: rendering "), std::string::npos) << r.err;
        EXPECT_EQ(leftovers(), "") << "nothing left on the hosts";
        same_video();
    }
    {
        SCOPED_TRACE("hosts that refuse");
        // One segment a slot to start with: each host is given one, and a
        // segment tries each host once at most (three tries by default).
        ToolRun r = farm("1/nosuchuser@hostB\\n1/nowhere\\n1/hostA\\n", "");
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_EQ(jobs_on("hostA"), 3) << "every segment rendered on the host that works";
        EXPECT_NE(r.err.find("Permission denied"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("Connection refused"), std::string::npos) << r.err;
        same_video();
    }
    {
        SCOPED_TRACE("a worker killed on its host");
        // Segment 2's capture is killed once it has begun writing on
        // whichever host took it (a longer range: it must live a while).
        const std::string longer = "--from 10 --to 12 --fps 30 --size 160x90";
        const std::string hosts = dir + "/sshd/hostA " + dir + "/sshd/hostB";
        ToolRun killed = run_tool("(" + farm_command("1/hostA\\n1/hostB\\n", "--retries 0", longer) +
                                  " & f=$!; i=0; while [ -z \"$(find " + hosts +
                                  " -name segment_2_of_2.mkv.part 2>/dev/null)\" ] && [ $i -lt 1200 ]; do"
                                  " sleep 0.05; i=$((i+1)); done;"
                                  // (a pattern that does not match this shell's own command line)
                                  " pkill -KILL -f -- '[-]o " + dir + "/sshd/host[AB]/.*segment_2_of_2[.]mkv'; wait $f;"
                                  " echo \"exit $?\")");
        EXPECT_NE(killed.out.find("exit 1"), std::string::npos) << killed.out << killed.err;
        EXPECT_NE(killed.err.find("farm: 1 segment(s) missing (2/2)"), std::string::npos) << killed.err;
        ToolRun rerun = farm("1/hostA\\n1/hostB\\n", "", longer);
        ASSERT_EQ(rerun.exitCode, 0) << rerun.out << rerun.err;
        EXPECT_NE(rerun.err.find("farm: 1 of 2 segments are done already"), std::string::npos) << rerun.err;
        EXPECT_EQ(jobs_on("hostA") + jobs_on("hostB"), 1);
        EXPECT_EQ(decode_media(dir + "/farm.mp4").timesMs.size(), 60u);
    }
}
