// A capture or a contact sheet pointed at a display where no X server
// answers says why in one line, exits with 1 and writes nothing: the
// failure comes from the start-up's own check, not from the window code
// ending the process later with SDL's "didn't get screen".
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <regex>
#include <string>

#include "support/run_tool.h"

namespace {
// No server listens on display 97 (as in the show's own no-display test).
const std::string UNREACHABLE = "env -u SDL_AUDIODRIVER DISPLAY=:97 ./wendit ";

bool exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}
}  // namespace

TEST(WenditCapture, NoWindowSaysWhyAndWritesNothing)
{
    const std::string d = testing::TempDir() + "capture_nowindow_" + std::to_string(getpid());
    ASSERT_EQ(std::system(("rm -rf '" + d + "' && mkdir -p '" + d + "'").c_str()), 0);
    const struct {
        std::string command, program, output;
    } runs[] = {
        {"capture --size 160x90 --from 1 --to 1.2 -o " + d + "/a.mp4", "capture", d + "/a.mp4"},
        {"capture --size 160x90 --segment 1/2 --from 1 --to 1.2 -o " + d + "/s.mkv", "capture", d + "/s.mkv"},
        {"contact --count 2 -o " + d + "/c.png", "contact", d + "/c.png"},
    };
    for (const auto& r : runs) {
        ToolRun run = run_tool(UNREACHABLE + r.command);
        EXPECT_EQ(run.exitCode, 1) << r.command << "\n" << run.err;
        // One line ending in SDL's reason, which is SDL's own words (SDL 1.2
        // and its layer over SDL2 word it differently).
        const std::regex line("wendit " + r.program + ": no window can be opened: [^\n]+\n");
        EXPECT_TRUE(std::regex_match(run.err, line)) << r.command << "\n" << run.err;
        EXPECT_EQ(run.out, "") << r.command;
        EXPECT_FALSE(exists(r.output)) << r.command;
        EXPECT_FALSE(exists(r.output + ".part")) << r.command;
    }
    std::system(("rm -rf '" + d + "'").c_str());
}
