// Places on the timeline from the command line and the marker keys: what
// is accepted, what is refused with which reason, and where a loop goes
// when its markers move. (A reloaded script keeping the MIDI events is
// played end to end in the loop test.)
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "app/command_line.h"
#include "runtime/cSectionLoop.h"
#include "timeline/cEventQueue_factory.h"
#include "timeline/iMidiEvent.h"
#include "timeline/show_position.h"

namespace {
const char* const SCRIPT =
    "s00 00:00:01,000\nfadein 00:00:01,000\ns01 00:00:03,000\nsnare 00:00:04,500\n"
    "s02 00:00:06,000\nquit 00:00:10,000\n";

std::unique_ptr<cEventQueue> script(const std::string& text = SCRIPT)
{
    std::ostringstream warn;
    return std::unique_ptr<cEventQueue>(cEventQueue_factory::parse(text.data(), text.size(), warn));
}

// Parses and places a command line; the error text, or "" on success.
std::string place(std::vector<const char*> args, ShowPlacement& p, const cEventQueue& q)
{
    args.insert(args.begin(), "morvane");
    ShowOptions o;
    std::string error;
    if (!parse_show_options(int(args.size()), args.data(), o, error))
        return error;
    return place_show_options(q, o, p, error) ? std::string() : error;
}
}  // namespace

TEST(ShowPosition, TimesAreSecondsOrTimeCodes)
{
    int ms = -1;
    EXPECT_TRUE(parse_time_or_seconds("38", ms) && ms == 38000);
    EXPECT_TRUE(parse_time_or_seconds("2.5", ms) && ms == 2500);
    EXPECT_TRUE(parse_time_or_seconds("0.125", ms) && ms == 125);
    EXPECT_TRUE(parse_time_or_seconds("00:01:02,003", ms) && ms == 62003);
    EXPECT_TRUE(parse_time_or_seconds("0:0:4:500", ms) && ms == 4500);
    for (const char* bad : {"", "-1", "1.", ".5", "1.2345", "12s", "s05", "1e3", "00:01", "0:0:-1:0",
                            "0:0:1:5x", "9999999", "2147483.647"})
        EXPECT_FALSE(parse_time_or_seconds(bad, ms)) << bad;
}

TEST(ShowPosition, MarkersResolveAndStepInTimeOrder)
{
    auto q = script();
    q->append(new cMETrigger(2000, iMidiEvent::KIND_NOTE_ON, 0, 60, 90));  // not a marker
    q->sort();
    int ms = 0;
    std::string error;
    EXPECT_TRUE(resolve_time_or_marker(*q, "snare", ms, error) && ms == 4500);
    EXPECT_FALSE(resolve_time_or_marker(*q, "s09", ms, error));
    EXPECT_NE(error.find("'s09' is neither a time"), std::string::npos) << error;
    EXPECT_FALSE(resolve_time_or_marker(*q, "midi", ms, error)) << "MIDI events are no markers";

    const auto markers = script_markers(*q);
    ASSERT_EQ(markers.size(), 5u) << "one stop per time, named by its first token";
    EXPECT_EQ(markers[0].name, "s00");
    EXPECT_EQ(nearest_marker(markers, 3700)->name, "s01");
    EXPECT_EQ(nearest_marker(markers, 3750)->name, "s01") << "a tie goes to the earlier";
    EXPECT_EQ(nearest_marker(markers, 3800)->name, "snare");
    EXPECT_EQ(previous_marker(markers, 3200, 500)->name, "s00") << "just past s01 steps back over it";
    EXPECT_EQ(previous_marker(markers, 3600, 500)->name, "s01");
    EXPECT_EQ(previous_marker(markers, 1200, 500), nullptr);
    EXPECT_EQ(next_marker(markers, 3000)->name, "snare");
    EXPECT_EQ(next_marker(markers, 10000), nullptr);
}

// A script may put markers at either end of demo time: their distances
// from the current time need not fit an int.
TEST(ShowPosition, MarkersAtTheEndsOfDemoTimeStillCompare)
{
    auto q = script("s00 -596:0:0:0\ns01 0:0:1:0\nquit 596:0:0:0\n");
    const auto markers = script_markers(*q);
    ASSERT_EQ(markers.size(), 3u);
    EXPECT_EQ(nearest_marker(markers, 1000)->name, "s01");
    EXPECT_EQ(nearest_marker(markers, 2147483647)->name, "quit");
    EXPECT_EQ(nearest_marker(markers, -2147483647 - 1)->name, "s00");
    EXPECT_EQ(previous_marker(markers, -2147483647 - 1, 500), nullptr);
}

TEST(ShowPosition, CommandLinePlacesAreCheckedAgainstTheShow)
{
    auto q = script();
    ShowPlacement p;
    EXPECT_EQ(place({"--use_kkapture", "--from", "s01", "--watch", "other"}, p, *q), "");
    EXPECT_EQ(p.fromMs, 3000);
    EXPECT_FALSE(p.loop);

    EXPECT_EQ(place({"--from=4.5"}, p, *q), "");
    EXPECT_EQ(p.fromMs, 4500);
    p = ShowPlacement();
    EXPECT_EQ(place({"--loop", "4.5", "s02"}, p, *q), "");
    EXPECT_TRUE(p.loop);
    EXPECT_EQ(p.loopStart, 4500);
    EXPECT_EQ(p.loopEnd, 6000);
    EXPECT_EQ(p.loopStartMarker, "") << "a time is no marker";
    EXPECT_EQ(p.loopEndMarker, "s02");

    EXPECT_NE(place({"--from"}, p, *q).find("--from needs a TIME"), std::string::npos);
    EXPECT_NE(place({"--loop", "s01"}, p, *q).find("--loop needs two places"), std::string::npos);
    EXPECT_EQ(place({"--from", "s07"}, p, *q),
              "--from: 's07' is neither a time (seconds or hh:mm:ss,mmm) nor a marker of the marker script");
    EXPECT_EQ(place({"--from", "0.5"}, p, *q),
              "--from 0.5: 00:00:00,500 lies outside the show (00:00:01,000 to 00:00:10,000)");
    EXPECT_NE(place({"--from", "quit"}, p, *q).find("the show ends there"), std::string::npos);
    EXPECT_EQ(place({"--loop", "s02", "s01"}, p, *q),
              "--loop s02 s01: the end (00:00:03,000) must come after the start (00:00:06,000)");
    EXPECT_NE(place({"--loop", "s01", "11"}, p, *q).find("lies outside the show"), std::string::npos);
    auto noStart = script("s01 00:00:03,000\n");
    EXPECT_EQ(place({"--from", "s01"}, p, *noStart), "the marker script has no start marker (s00)");
}

TEST(ShowPosition, LoopBoundsFollowTheirMarkers)
{
    cSectionLoop loop;
    EXPECT_FALSE(loop.due(999999)) << "no bounds, nothing to wrap";
    loop.on = true;
    loop.start = 3000;
    loop.startMarker = "s01";
    loop.end = 6000;
    EXPECT_FALSE(loop.due(5999));
    EXPECT_TRUE(loop.due(6000));
    loop.follow_markers(*script("s00 00:00:00,000\ns01 00:00:02,000\n"));
    EXPECT_EQ(loop.start, 2000);
    EXPECT_EQ(loop.end, 6000) << "a bound given as a time stays";
    loop.follow_markers(*script("s00 00:00:00,000\n"));
    EXPECT_EQ(loop.start, 2000) << "a marker that went away leaves its bound";
    EXPECT_EQ(loop.describe(), "s01 00:00:02,000 .. 00:00:06,000");
}

TEST(ShowPosition, AvOffsetIsWholeMillisecondsEitherWay)
{
    auto q = script();
    ShowPlacement p;
    EXPECT_EQ(place({"--av-offset", "-40", "--from", "s01"}, p, *q), "");
    EXPECT_EQ(p.avOffsetMs, -40);
    EXPECT_EQ(p.fromMs, 3000);
    EXPECT_EQ(place({"--av-offset=85"}, p, *q), "");
    EXPECT_EQ(p.avOffsetMs, 85);
    for (const char* bad : {"", "4.5", "40ms", "--from", "99999", "-5001"}) {
        ShowPlacement none;
        const std::string error = place({"--av-offset", bad}, none, *q);
        EXPECT_NE(error.find("--av-offset needs"), std::string::npos) << bad << ": " << error;
    }
    ShowPlacement none;
    EXPECT_NE(place({"--av-offset"}, none, *q), "");
}

TEST(ShowOptions, RenderScaleAndFrameRateTargetAreCheckedBeforeAnythingOpens)
{
    auto parse = [](std::vector<const char*> args, ShowOptions& o) {
        args.insert(args.begin(), "morvane");
        std::string error;
        return parse_show_options(int(args.size()), args.data(), o, error) ? std::string() : error;
    };
    ShowOptions o;
    EXPECT_EQ(parse({}, o), "");
    EXPECT_EQ(o.scale, 0.f);  // chosen from frame times
    EXPECT_EQ(o.fpsTarget, 30);
    EXPECT_EQ(parse({"--scale", "0.5", "--fps-target", "24"}, o), "");
    EXPECT_EQ(o.scale, 0.5f);
    EXPECT_EQ(o.fpsTarget, 24);
    EXPECT_EQ(parse({"--scale=0.25", "--fps-target=60"}, o), "");
    EXPECT_EQ(o.scale, 0.25f);
    EXPECT_EQ(o.fpsTarget, 60);
    EXPECT_EQ(parse({"--scale", "1"}, o), "");
    for (const char* bad : {"0.2", "1.01", "0", "-1", "half", "0.5x", "nan", "inf"}) {
        const std::string e = parse({"--scale", bad}, o);
        EXPECT_EQ(e.rfind("--scale needs a number from 0.25 to 1", 0), 0u) << bad;
        EXPECT_NE(e.find(bad), std::string::npos) << e;
    }
    EXPECT_NE(parse({"--scale"}, o), "");
    EXPECT_NE(parse({"--scale", "--watch"}, o), "");
    EXPECT_NE(parse({"--scale="}, o), "");
    for (const char* bad : {"0", "29.5", "thirty", "1001", "-30"})
        EXPECT_EQ(parse({"--fps-target", bad}, o).rfind("--fps-target needs a whole number", 0), 0u) << bad;
    EXPECT_NE(parse({"--fps-target"}, o), "");
}
