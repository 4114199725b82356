// The show program run as a person runs it: from bin/, next to a data tree,
// with no terminal; on the frame-stepped clock so demo time is exact.
#include <FreeImage.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include "support/gl_fixture.h"
#include "support/show_run.h"

namespace {
const char* const SHORT_SHOW = "s00 00:00:00,000\nquit 00:00:01,000\n";
const char* const LONG_SHOW = "s00 00:00:00,000\nquit 00:10:00,000\n";

bool contains(const std::string& s, const std::string& part)
{
    return s.find(part) != std::string::npos;
}
}  // namespace

TEST(Show, RunsThroughLoadingAndEndsAtTheQuitMarker)
{
    DataTree tree(SHORT_SHOW);
    ShowResult r = run_show(tree);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto lines = r.out_lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "requested exit");
    EXPECT_TRUE(contains(r.out, "------------------------- demo start -------------------------"));
    EXPECT_TRUE(contains(r.err, "------------------------- demo start -------------------------"));
    // Nothing was created after the loading (which may add targets for the
    // frames it draws ahead), and nothing was left bound.
    EXPECT_TRUE(contains(r.out, "# rrt-manager: number of tmp-rt allocated: "));
    EXPECT_TRUE(contains(r.out, "# rtt-manager: maximum concurrently allocated RTs: 15\n"));
    EXPECT_FALSE(contains(r.out, "performance-warning"));
    EXPECT_FALSE(contains(r.err, "## ERROR"));
    EXPECT_FALSE(contains(r.err, "not initialized")) << "an entry point failed to resolve";
    // The shader runtime reports itself at start-up and goes down quietly.
    EXPECT_TRUE(contains(r.out, "# Cg: Cg compiletime version: 2200\n"
                                "# Cg: Chose cg vertex-profile:\tCG_PROFILE_ARBVP1\n"
                                "# Cg: Chose cg fragment-profile:\tCG_PROFILE_ARBFP1\n"))
        << r.out;
    EXPECT_FALSE(contains(r.err, "Cg error")) << r.err;
    EXPECT_FALSE(contains(r.err, "no current CG-context")) << r.err;
}

TEST(Show, StartsAtALaterMarkerWhereLayersOverlapAndEndsCleanly)
{
    // 44 s: the cube, the sphere and the star at once, the bloom fading out.
    DataTree tree("s00 00:00:43,800\nquit 00:00:44,600\n");
    ShowResult r = run_show(tree, 40.0);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out_lines().back(), "requested exit");
    EXPECT_FALSE(contains(r.out, "performance-warning"));
    EXPECT_FALSE(contains(r.err, "## ")) << r.err;
    EXPECT_FALSE(contains(r.err, "OpenGL")) << r.err;
}

TEST(Show, FatalStartsEndWithTheirMessageAndCode)
{
    {
        DataTree tree("quit 00:00:01,000\n");
        ShowResult r = run_show(tree);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(contains(r.err, "## DEBUG-ERROR in ..\\src\\cSceneManager line 246, event not found! Exiting..."))
            << r.err;
        EXPECT_EQ(r.out_lines().back(), "requested exit");
    }
    {
        DataTree tree(SHORT_SHOW);
        tree.remove("data/textures/loadscreen.jpg");
        ShowResult r = run_show(tree);
        EXPECT_EQ(r.exitCode, 255);
        EXPECT_TRUE(contains(r.err, ": file was not found in path: \"loadscreen.jpg\"")) << r.err;
    }
    {
        DataTree tree(SHORT_SHOW);
        tree.write("data/textures/loadscreen.jpg", "this is no picture at all");
        ShowResult r = run_show(tree);
        EXPECT_EQ(r.exitCode, 255);
        EXPECT_TRUE(contains(r.err, "## ERROR: \"../data/textures/loadscreen.jpg\" could not be decoded as an image"))
            << r.err;
        EXPECT_FALSE(r.signalled);
    }
    {
        DataTree tree(SHORT_SHOW);
        FIBITMAP* grey = FreeImage_Allocate(32, 32, 8);
        const std::string path = tree.data() + "/textures/loadscreen.jpg";
        ASSERT_TRUE(FreeImage_Save(FIF_PNG, grey, path.c_str(), 0));
        FreeImage_Unload(grey);
        ShowResult r = run_show(tree);
        EXPECT_EQ(r.exitCode, 255);
        EXPECT_TRUE(contains(r.err, "images must be 24 or 32 bpp... \"../data/textures/loadscreen.jpg\" is 8"))
            << r.err;
    }
}

TEST(Show, KeysDumpTheTimeCodeAndQuit)
{
    PrivateDisplay display;
    ASSERT_TRUE(display.ok());
    DataTree tree(LONG_SHOW);
    ShowProcess show(tree, 50.0, {}, {{"DISPLAY", display.name}});
    ASSERT_TRUE(show.wait_for_stderr("demo start")) << "display " << display.name << ": " << show.err_so_far();
    int w = 0, h = 0;
    EXPECT_TRUE(show_window_exists(display.name, &w, &h)) << "a window captioned \"Wendit OpenGL\"";
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 720);
    ASSERT_TRUE(send_key_to_show(display.name, XK_space));
    // The scene shown is the composition, whatever layers play.
    ASSERT_TRUE(show.wait_for_stderr(" - scenecomp: ", 90000)) << show.err_so_far();
    ASSERT_TRUE(send_key_to_show(display.name, XK_q));
    // Composed frames under the software renderer are slow: give them time.
    ShowResult r = show.finish(90000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out_lines().back(), "requested exit");
    EXPECT_TRUE(contains(r.err, "\n-\n00:0")) << r.err;
}

TEST(Show, ClosingTheWindowEndsTheShow)
{
    PrivateDisplay display;
    ASSERT_TRUE(display.ok());
    DataTree tree(LONG_SHOW);
    ShowProcess show(tree, 50.0, {"--use_kkapture"}, {{"DISPLAY", display.name}});
    ASSERT_TRUE(show.wait_for_stderr("demo start")) << "display " << display.name << ": " << show.err_so_far();
    ASSERT_TRUE(close_show_window(display.name));
    ShowResult r = show.finish(90000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out_lines().back(), "requested exit");
}
