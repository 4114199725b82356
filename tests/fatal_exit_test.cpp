// Fatal errors raised in the middle of a frame end the process with their
// own exit code and the exit hook's teardown, never with a crash; the show
// started where no window can be had fails with SDL's reason; the way out
// itself says nothing and runs the registered teardown once.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <regex>
#include <string>

#include "app/exit_hook.h"
#include "mesh_files/cMeshManager.h"
#include "render/cRenderTargetManager.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/cShdNoParams.h"
#include "support/shader_setup.h"
#include "support/show_run.h"
#include "texture/cResourcePath.h"
#include "texture/cTextureManager.h"
#include "util/fatal_exit.h"

namespace {
// A frame in progress: a target bound, shaded and textured draws queued
// and not yet flushed, then the fault.
void mid_frame(const std::function<void()>& fault)
{
    register_exit_hook();
    start_shaders();
    get_texture_manager();
    cTmpRT rt = get_tmp_rt(RTT_FULL);
    rt->bind(true);
    for (int i = 0; i < 8; ++i) {
        glEnable(i % 2 ? GL_BLEND : GL_TEXTURE_2D);
        glColor4f(0.1f * float(i), 0.5f, 1.f, 0.5f);
        glBegin(GL_TRIANGLES);
        glVertex2f(-1.f, -1.f);
        glVertex2f(1.f, -1.f);
        glVertex2f(0.f, float(i) / 8.f);
        glEnd();
    }
    fault();
}
}  // namespace

class FatalMidFrame : public GLTest {
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        GLTest::SetUp();
        dir.write("notapicture.png", "this is text, not an image");
        get_resource_path()->push_searchpath(dir.path);
    }
    TempDir dir;
};

TEST_F(FatalMidFrame, EachFaultEndsWithItsCodeAndTheTeardown)
{
    EXPECT_EXIT(mid_frame([] { get_texture_manager()->get_texture("notapicture.png", false, GL_CLAMP, 0); }),
                testing::ExitedWithCode(255), "notapicture.png(.|\n)*");
    EXPECT_EXIT(mid_frame([] { cMeshManager::instance()->requireMesh("no_such_mesh.obj", false, "test"); }),
                testing::ExitedWithCode(255), "no_such_mesh.obj");
    EXPECT_EXIT(mid_frame([] {
                    cShaderManager_CG* sm = get_shader_manager();
                    cShdNoParams(sm, &sm->vertex_profile, &sm->fragment_profile, "cg_RGBAtex_vert.cg",
                                 "no_such_frag.cg");
                }),
                testing::ExitedWithCode(1), "failed on no_such_frag.cg");
}

TEST(ShowStart, NoDisplayFailsWithSdlsReason)
{
    DataTree tree("s00 00:00:00,000\nquit 00:00:01,000\n", false);
    ShowProcess show(tree, 50.0, {}, {{"DISPLAY", ":97"}});
    ShowResult r = show.finish(30000);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    // SDL's reason is SDL's own words: SDL 1.2 and its layer over SDL2 word
    // it differently, so any reason on the one line will do.
    const std::regex line("## ERROR: whoops, SDL failed to init: [^\n]+ exiting!\n");
    EXPECT_TRUE(std::regex_search(r.err, line)) << r.err;
}

namespace {
int g_teardowns = 0;
// Says each run on standard error, then fails fatally itself, as a
// teardown that meets a broken service would.
void noisy_teardown()
{
    std::fprintf(stderr, "teardown %d\n", ++g_teardowns);
    end_process(9);
}
}  // namespace

TEST(EndProcess, ExitsWithTheGivenCodeAndRunsTheTeardownOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            set_exit_teardown(nullptr);
            end_process(42);
        },
        testing::ExitedWithCode(42), "^$");
    // The fatal error inside the teardown ends the process with its own
    // code, without running the teardown a second time.
    EXPECT_EXIT(
        {
            set_exit_teardown(noisy_teardown);
            end_process(3);
        },
        testing::ExitedWithCode(9), "^teardown 1\n$");
}
