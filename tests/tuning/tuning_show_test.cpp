// Tuning the running show end to end: start at a marker, loop a section
// (with the marker script edited between passes), edit a shader while it
// plays, and the errors of bad places. The show runs on the frame-stepped
// clock with WENDIT_TIMELINE_TRACE, whose lines say what each frame played.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "support/gl_fixture.h"
#include "support/show_run.h"

namespace {
const char* const MARKERS =
    "s00 00:00:00,000\ns01 00:00:02,000\nsnare 00:00:03,000\ns02 00:00:04,000\nquit 00:00:06,000\n";
const std::map<std::string, std::string> TRACE = {{"WENDIT_TIMELINE_TRACE", "1"}};

struct Trace {
    std::string kind;  // frame, event, seek
    int time;
    std::string what;  // the event's name, or the music position
};

std::vector<Trace> trace_of(const std::string& err)
{
    std::vector<Trace> out;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string hash, tag, kind, what, music;
        int time = 0;
        if (words >> hash >> tag >> kind >> time && tag == "timeline-trace") {
            words >> what >> music;
            out.push_back({kind, time, kind == "event" ? what : music});
        }
    }
    return out;
}

// One baked data tree with the shader sources, shared by the tests here
// (baking takes a while); each test writes the marker script it needs.
class TuningShow : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tree = new DataTree(MARKERS);
        tree->copy_shaders();
    }
    static void TearDownTestSuite()
    {
        delete tree;
        tree = nullptr;
    }
    void SetUp() override
    {
        tree->write("data/script/markers.txt", MARKERS);
        // The last run's output must not be taken for this one's.
        tree->remove("stdout.txt");
        tree->remove("stderr.txt");
    }
    static DataTree* tree;
};
DataTree* TuningShow::tree = nullptr;
}  // namespace

TEST_F(TuningShow, FromAMarkerStartsClockMusicAndEventsThere)
{
    ShowProcess show(*tree, 100.0, {"--from", "s01"}, TRACE);
    ShowResult r = show.finish(120000);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto trace = trace_of(r.err);
    auto first = std::find_if(trace.begin(), trace.end(), [](const Trace& t) { return t.kind == "frame"; });
    ASSERT_NE(first, trace.end()) << r.err;
    EXPECT_EQ(first->time, 2000);
    const int music = std::atoi(first->what.c_str());
    EXPECT_GE(music, 2000);
    EXPECT_LT(music, 2400) << "the music starts at s01 too";
    bool snare = false;
    for (const Trace& t : trace)
        if (t.kind == "event") {
            EXPECT_GT(t.time, 2000) << t.what << " fired although it lies at or before the start";
            snare = snare || t.what == "snare";
        }
    EXPECT_TRUE(snare);
}

TEST_F(TuningShow, ALoopRepeatsItsSectionAndTakesInAnEditedScriptAtTheNextPass)
{
    ShowProcess show(*tree, 100.0, {"--loop", "s01", "s02", "--watch"}, TRACE);
    auto wait_frames = [&](size_t n) {
        if (show.frames_so_far() < n)
            show.wait_for_frames(n - show.frames_so_far(), 150000);
    };
    ASSERT_TRUE(show.wait_for_stderr("# watching", 120000)) << show.err_so_far();
    wait_frames(45);
    tree->write("data/script/markers.txt", std::string(MARKERS) + "rumble 00:00:02,500\n");
    ASSERT_TRUE(show.wait_for_stderr("# reloaded marker script", 20000)) << show.err_so_far();
    wait_frames(70);
    tree->write("data/script/markers.txt", "s00 00:00:00,000\nrumble 2,5 seconds\n");
    ASSERT_TRUE(show.wait_for_stderr("has errors; the previous timeline stays", 20000)) << show.err_so_far();
    wait_frames(100);  // ten seconds of the show
    ShowResult r = show.finish(0);
    EXPECT_EQ(r.exitCode, -1000) << "the loop plays until stopped:\n" << r.err;
    EXPECT_NE(r.err.find("# warning, ../data/script/markers.txt:2: rumble needs a time"), std::string::npos)
        << "what was wrong is said, and where";

    // Passes split at the seeks; every pass plays the same events.
    std::vector<std::vector<std::string>> passes(1);
    int frames = 0;
    for (const Trace& t : trace_of(r.err)) {
        if (t.kind == "frame") {
            ++frames;
            EXPECT_GE(t.time, 2000);
            EXPECT_LT(t.time, 4000) << "the clock never reaches the loop's end";
        } else if (t.kind == "seek") {
            EXPECT_EQ(t.time, 2000);
            EXPECT_NEAR(std::atoi(t.what.c_str()), 2000, 300) << "the music goes back with the clock";
            passes.emplace_back();
        } else if (t.kind == "event") {
            passes.back().push_back(std::to_string(t.time) + " " + t.what);
        }
    }
    EXPECT_GE(frames, 100);
    passes.pop_back();  // the last one was cut off
    ASSERT_GE(passes.size(), 4u) << r.err;
    int withRumble = 0;
    for (auto& pass : passes) {
        auto rumble = std::find(pass.begin(), pass.end(), "2500 rumble");
        if (rumble != pass.end()) {
            ++withRumble;
            pass.erase(rumble);
        }
        EXPECT_EQ(pass, passes.front());
        EXPECT_EQ(std::count(pass.begin(), pass.end(), "3000 snare"), 1);
        EXPECT_EQ(std::count(pass.begin(), pass.end(), "2000 s01"), 1) << "the event at the start fires each pass";
    }
    EXPECT_GE(withRumble, 1) << "the edit plays from the next pass on, the broken edit changing nothing";
    EXPECT_FALSE(std::find(passes.front().begin(), passes.front().end(), "2500 rumble") != passes.front().end());
}

TEST_F(TuningShow, AnEditedShaderChangesThePictureAndABrokenOneKeepsIt)
{
    PrivateDisplay display;
    ASSERT_TRUE(display.ok());
    const std::string source = tree->root + "/src/shaders/comp/cg_comp_layers1_frag.cg";
    std::ifstream in(source);
    const std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A loop shorter than a frame shows 2 s on every frame: the picture
    // holds still but for the grain and the flicker of the levels, which
    // grabs over several frames average out.
    ShowProcess show(*tree, 100.0, {"--watch", "--loop", "2", "2.05"},
                     {{"DISPLAY", display.name}, {"WENDIT_TIMELINE_TRACE", "1"}});
    ASSERT_TRUE(show.wait_for_stderr("demo start", 120000)) << show.err_so_far();
    ASSERT_TRUE(show.wait_for_frames(15)) << show.err_so_far();
    double before[3], after[3];
    ASSERT_TRUE(mean_show_colour(show, display.name, before, 8));

    std::string broken = original;
    broken.insert(broken.find("gl_FragColor"), "oops ");
    tree->write("src/shaders/comp/cg_comp_layers1_frag.cg", broken);
    ASSERT_TRUE(show.wait_for_stderr("does not compile; the previous program stays", 20000)) << show.err_so_far();
    EXPECT_NE(show.err_so_far().find("../src/shaders/comp/cg_comp_layers1_frag.cg:33:"), std::string::npos)
        << "the file and the line of the typo";
    ASSERT_TRUE(show.wait_for_frames(5)) << show.err_so_far();
    ASSERT_TRUE(mean_show_colour(show, display.name, after, 8));
    // The grain and the levels' flicker move a mean over eight frames by up to
    // about 8 on a busy machine; the red edit below moves it far more.
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(after[i], before[i], 12.0) << "channel " << i << ": the old program still draws";

    std::string red = original;
    red.replace(red.find("gl_FragColor"), std::string::npos, "gl_FragColor = vec4(1.0, 0.0, 0.0, 1.0);\n}\n");
    // The show looks for saved files once a frame: the edit is taken in by
    // the next frame or the one after (the count read here may lag the
    // show by a frame), and drawn from then on.
    const size_t framesAtEdit = show.frames_so_far();
    tree->write("src/shaders/comp/cg_comp_layers1_frag.cg", red);
    const std::string reloaded = "# reloaded shader ../src/shaders/comp/cg_comp_layers1_frag.cg";
    ASSERT_TRUE(show.wait_for_stderr(reloaded, 20000)) << show.err_so_far();
    const std::string err = show.err_so_far();
    const std::string frameLine = "# timeline-trace frame ";
    size_t framesAtReload = 0;
    for (size_t at = err.find(frameLine); at < err.find(reloaded); at = err.find(frameLine, at + 1))
        ++framesAtReload;
    EXPECT_LE(framesAtReload, framesAtEdit + 2) << "frames drawn between the edit and its reload";
    ASSERT_TRUE(show.wait_for_frames(2)) << show.err_so_far();
    ASSERT_TRUE(mean_show_colour(display.name, after));
    EXPECT_TRUE(after[0] > 200 && after[1] < 60) << after[0] << " " << after[1] << " " << after[2] << "\n" << err;
    tree->write("src/shaders/comp/cg_comp_layers1_frag.cg", original);

    ShowResult r = show.finish(0);
    EXPECT_EQ(r.exitCode, -1000) << "the show went on until stopped:\n" << r.err;
}

TEST_F(TuningShow, BadPlacesEndTheProgramBeforeItsWindowWithCode2)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--from", "s09"},
         "morvane: --from: 's09' is neither a time (seconds or hh:mm:ss,mmm) nor a marker of the marker script\n"},
        {{"--use_kkapture", "--loop", "s02", "2"},
         "morvane: --loop s02 2: the end (00:00:02,000) must come after the start (00:00:04,000)\n"},
    };
    for (const auto& c : cases) {
        ShowProcess show(*tree, 100.0, c.first, {{"DISPLAY", ":4242"}});  // no window could open
        ShowResult r = show.finish(20000);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_EQ(r.err, c.second);
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(TuningShow, KeysStepToMarkersAndSetTheLoopThere)
{
    tree->write("data/script/markers.txt",
                "s00 00:00:00,000\ns01 00:00:02,000\ns02 00:00:04,000\ns03 00:01:00,000\nquit 00:10:00,000\n");
    PrivateDisplay display;
    ASSERT_TRUE(display.ok());
    // A loop shorter than a frame: every frame is at 2 s until the keys
    // change the loop.
    ShowProcess show(*tree, 100.0, {"--loop", "2", "2.05"}, {{"DISPLAY", display.name}, {"WENDIT_TIMELINE_TRACE", "1"}});
    ASSERT_TRUE(show.wait_for_stderr("demo start", 120000)) << show.err_so_far();
    // Each key after the show has drawn two frames since the last one took
    // effect: by then it has read that key's release too, and a press that
    // came in right behind a release of the same key would read as the key
    // held down.
    ASSERT_TRUE(send_key_to_show(display.name, XK_period));
    ASSERT_TRUE(show.wait_for_stderr("\nat s02 00:00:04,000\n", 20000)) << show.err_so_far();
    EXPECT_TRUE(show.wait_for_stderr("trace seek 4000 music 4000", 20000)) << show.err_so_far();
    ASSERT_TRUE(show.wait_for_frames(2)) << show.err_so_far();
    ASSERT_TRUE(send_key_to_show(display.name, XK_bracketright));
    ASSERT_TRUE(show.wait_for_stderr("loop end: s01 00:00:02,000\n", 20000)) << show.err_so_far();
    ASSERT_TRUE(show.wait_for_frames(2)) << show.err_so_far();
    ASSERT_TRUE(send_key_to_show(display.name, XK_l));
    ASSERT_TRUE(show.wait_for_stderr("loop off\n", 20000)) << show.err_so_far();
    ASSERT_TRUE(show.wait_for_frames(2)) << show.err_so_far();
    ASSERT_TRUE(send_key_to_show(display.name, XK_l));
    EXPECT_TRUE(show.wait_for_stderr("loop: 00:00:02,000 .. s01 00:00:02,000 is no section", 20000))
        << show.err_so_far();
    ShowResult r = show.finish(0);
    EXPECT_EQ(r.exitCode, -1000) << r.err;
}
