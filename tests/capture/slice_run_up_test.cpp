// A slice of a capture's range (`--frames A:B`) shows, pixel for pixel, the
// frames a capture of the whole range shows there, also where the scenes'
// answers to the music's events draw random numbers during the run-up.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "offline/png_file.h"
#include "support/run_tool.h"

namespace {
const std::string HEADLESS = "env -u DISPLAY -u SDL_AUDIODRIVER ./wendit ";

}  // namespace

// The spike ball takes a new random axis on every hit (one a second from
// 15 s on). A slice from 24.5 s draws only its last half second ahead; the
// hit at 23 s, whose frame before lies outside that half second, turned the
// ball another way than in the whole capture.
TEST(WenditCaptureSlice, RendersTheWholeCapturesFramesAfterHitsInItsRunUp)
{
    const std::string d = testing::TempDir() + "capture_slice_" + std::to_string(getpid());
    std::system(("rm -rf '" + d + "' && mkdir -p '" + d + "/whole' '" + d + "/slice'").c_str());
    const std::string common = "capture --from 22.5 --to 24.7 --size 160x90 ";
    ToolRun whole = run_tool(HEADLESS + common + "--png " + d + "/whole -o " + d + "/whole.mp4");
    ASSERT_EQ(whole.exitCode, 0) << whole.err;
    ToolRun slice = run_tool(HEADLESS + common + "--frames 60:66 --png " + d + "/slice -o " + d + "/slice.mkv");
    ASSERT_EQ(slice.exitCode, 0) << slice.err;
    for (int i = 60; i < 66; ++i) {
        const std::string s = read_whole_file(png_frame_path(d + "/slice", i));
        ASSERT_FALSE(s.empty()) << "frame " << i;
        EXPECT_EQ(s, read_whole_file(png_frame_path(d + "/whole", i))) << "frame " << i;
    }
    std::system(("rm -rf '" + d + "'").c_str());
}
