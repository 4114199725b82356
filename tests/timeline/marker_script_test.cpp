// The marker script as a person writes it: which lines become events, which
// warn, and what the queue looks like after loading.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"

namespace {

struct Loaded {
    std::unique_ptr<cEventQueue> queue;
    std::string warnings;
};

Loaded load(const std::string& text)
{
    std::ostringstream warn;
    Loaded l;
    l.queue.reset(cEventQueue_factory::parse(text.data(), text.size(), warn));
    l.warnings = warn.str();
    return l;
}

// One line's result: id and time, or id -1 when the line yields nothing.
std::pair<int, int> line(const std::string& text, std::string* warnings = nullptr)
{
    std::ostringstream warn;
    std::unique_ptr<cEvent> e(cEventQueue_factory::parse_line(text, 7, warn));
    if (warnings)
        *warnings = warn.str();
    return {e->id, e->time};
}

const std::string UNKNOWN = " in cEventQueue_factory::eventtoken_parse\n";

}  // namespace

TEST(MarkerScript, TimesTakeFourFieldsSeparatedByCommasOrColons)
{
    EXPECT_EQ(line("s07 0,1,2,3"), std::make_pair(7, 62003));
    EXPECT_EQ(line("s03 00:01:23,456"), std::make_pair(3, 83456));
    EXPECT_EQ(line("quit\t1:00:00:000"), std::make_pair(int(DE_QUIT), 3600000));
    EXPECT_EQ(line("s100 0:0:1,5"), std::make_pair(int(DE_SCENE_100), 1005));
    // Trailing characters of a field are ignored; extra fields too.
    EXPECT_EQ(line("snare 0:0:2s:250ms"), std::make_pair(int(DE_SNARE), 2250));
    // Anything after the time is ignored: comments may follow.
    EXPECT_EQ(line("s01 0:0:3:0   # verse"), std::make_pair(1, 3000));
}

TEST(MarkerScript, EveryTokenHasItsId)
{
    const char* musical[] = {"beat",  "snare",  "rumble", "fadein", "bwab1",  "bwab2",   "technofx",
                             "technofx2", "melody", "lead", "hihatc", "hihato", "sinus_in"};
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(cEventQueue_factory::eventtoken_parse(musical[i]), DE_BEAT + i) << musical[i];
    for (int i = 0; i <= 21; ++i) {
        char token[8];
        std::snprintf(token, sizeof token, "s%02d", i);
        EXPECT_EQ(cEventQueue_factory::eventtoken_parse(token), i) << token;
    }
    EXPECT_EQ(cEventQueue_factory::eventtoken_parse("s100"), DE_SCENE_100);
    EXPECT_EQ(cEventQueue_factory::eventtoken_parse("quit"), DE_QUIT);
    EXPECT_EQ(cEventQueue_factory::eventtoken_parse("12"), DE_NUMBER);
}

TEST(MarkerScript, MatchingIsExactAndCaseSensitive)
{
    for (const char* token : {"beats", "s22", "s1", "S00", "Quit", "s000", "s99"}) {
        std::ostringstream warn;
        EXPECT_EQ(cEventQueue_factory::eventtoken_parse(token, warn), DE_NONE) << token;
        EXPECT_EQ(warn.str(), std::string("# warning, unknown token ") + token + UNKNOWN);
    }
    std::string w;
    EXPECT_EQ(line("beats 0:0:1:0", &w).first, DE_NONE);
    EXPECT_EQ(w, "# warning, line 7: unknown token beats" + UNKNOWN);
    EXPECT_EQ(line("beat 0:0:1:0", &w), std::make_pair(int(DE_BEAT), 1000));
    EXPECT_EQ(w, "");
}

TEST(MarkerScript, CommentsNumbersAndEmptyLinesAreSilent)
{
    std::string w;
    for (const char* text : {"# a comment", "#no blank", "#", "", "12 0:0:1:0", "9"}) {
        EXPECT_EQ(line(text, &w).first, DE_NONE) << text;
        EXPECT_EQ(w, "") << text;
    }
}

TEST(MarkerScript, ALineLedByBlanksWarnsAndYieldsNothing)
{
    std::string w;
    EXPECT_EQ(line("  beat 0:0:1:0", &w).first, DE_NONE);
    EXPECT_EQ(w, "# warning, line 7: unknown token   beat" + UNKNOWN);
    EXPECT_EQ(line("\ts00 0:0:0:0", &w).first, DE_NONE);
    EXPECT_EQ(w, "# warning, line 7: unknown token \\x09s00" + UNKNOWN);
}

TEST(MarkerScript, WarningsShowBytesEscapedAndAtMostSixtyOfThem)
{
    std::string w;
    line("\x1b[2J\x1b]0;pwned\x07\\x 0:0:1:0", &w);
    EXPECT_EQ(w, "# warning, line 7: unknown token \\x1B[2J\\x1B]0;pwned\\x07\\\\x" + UNKNOWN);
    line(std::string(100, 'a') + " 0:0:1:0", &w);
    EXPECT_EQ(w, "# warning, line 7: unknown token " + std::string(60, 'a') + "..." + UNKNOWN);
    line("s01 \xff", &w);
    EXPECT_NE(w.find("# warning, line 7: s01 needs"), std::string::npos) << w;
}

TEST(MarkerScript, AKnownTokenWithoutACompleteTimeIsRejectedNamingTheLine)
{
    for (const char* text : {"s00", "s00 ", "s00 0:0:1", "s00 0,0,1,", "s00 a:b:c:d", "quit 0::1:0",
                             "snare 99999999999:0:0:0", "s01 597:0:0:0"}) {
        std::string w;
        EXPECT_EQ(line(text, &w).first, DE_NONE) << text;
        EXPECT_NE(w.find("# warning, line 7: "), std::string::npos) << text << " -> " << w;
    }
}

TEST(MarkerScript, LoadingSortsByTimeAndKeepsFileOrderForEqualTimes)
{
    Loaded l = load("s02 0:0:3:0\nquit 0:0:9:0\ns00 0:0:0:0\nsnare 0:0:3:0\ns01 0:0:3:0\n");
    EXPECT_EQ(l.warnings, "");
    ASSERT_EQ(l.queue->size(), 5u);
    std::vector<std::pair<int, int>> got;
    for (const cEvent* e : l.queue->events())
        got.emplace_back(e->id, e->time);
    std::vector<std::pair<int, int>> want = {{0, 0}, {2, 3000}, {DE_SNARE, 3000}, {1, 3000}, {DE_QUIT, 9000}};
    EXPECT_EQ(got, want);
    EXPECT_EQ(l.queue->cursor(), 0u);
}

TEST(MarkerScript, CarriageReturnLineEndsAreTextMode)
{
    Loaded l = load("s00 0:0:0:0\r\n\r\n# note\r\nquit 0:0:1:0\r\n");
    EXPECT_EQ(l.warnings, "");
    ASSERT_EQ(l.queue->size(), 2u);
    EXPECT_EQ(l.queue->events()[1]->time, 1000);
}

TEST(MarkerScript, AnOverlongLineEndsLoadingButKeepsWhatWasRead)
{
    std::string text = "s01 0:0:5:0\ns00 0:0:1:0\n" + std::string(511, '#') + "\ns02 0:0:2:0\n" +
                       std::string(512, '#') + "\ns03 0:0:3:0\n";
    Loaded l = load(text);
    ASSERT_EQ(l.queue->size(), 3u);
    EXPECT_EQ(l.queue->events()[0]->id, 0);
    EXPECT_EQ(l.queue->events()[2]->id, 1);
    EXPECT_NE(l.warnings.find("line 5: the line is longer than 511 characters"), std::string::npos) << l.warnings;
}

TEST(MarkerScript, ALastLineWithoutLineEndCounts)
{
    Loaded l = load("s00 0:0:0:0\nquit 0:0:1:0");
    EXPECT_EQ(l.queue->size(), 2u);
}

TEST(MarkerScript, AMissingFileIsReportedOnStandardOutput)
{
    testing::internal::CaptureStdout();
    cEventQueue* q = cEventQueue_factory::loadFile("/nonexistent/markers.txt");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(q, nullptr);
    EXPECT_EQ(out, "Error reading file \"/nonexistent/markers.txt in cEventQueue_factory::loadFile\n");
}

TEST(MarkerScript, LoadsFromAFile)
{
    std::string path = testing::TempDir() + "markers_from_file.txt";
    std::ofstream(path) << "s00 0:0:20:0\nlead 0:0:21:0\n";
    std::unique_ptr<cEventQueue> q(cEventQueue_factory::loadFile(path));
    ASSERT_TRUE(q);
    ASSERT_EQ(q->size(), 2u);
    EXPECT_EQ(q->events()[0]->time, 20000);
    EXPECT_EQ(q->events()[1]->id, DE_LEAD);
    std::remove(path.c_str());
}

TEST(MarkerScript, WarningsOfAFileNameItWithTheLine)
{
    std::string path = testing::TempDir() + "markers_with_typos.txt";
    std::ofstream(path) << "s00 0:0:0:0\nsnare2 0:0:1:0\ns01 0:0\n" + std::string(600, 'x') + "\n";
    std::ostringstream warn;
    std::unique_ptr<cEventQueue> q(cEventQueue_factory::loadFile(path, warn));
    ASSERT_TRUE(q);
    EXPECT_EQ(q->size(), 1u);
    EXPECT_EQ(warn.str(), "# warning, " + path + ":2: unknown token snare2" + UNKNOWN + "# warning, " + path +
                              ":3: s01 needs a time of four fields hours,minutes,seconds,milliseconds (line skipped)"
                              " in cEventQueue_factory::loadFile\n"
                              "# warning, " + path + ":4: the line is longer than 511 characters, loading stops"
                              " here in cEventQueue_factory::loadFile\n");
    std::remove(path.c_str());
}
