// The loading screen and the start-up step that holds and fades it, on the
// frame-stepped clock the show uses for exact runs.
#include <FreeImage.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "demo/cLoadScreen_MM.h"
#include "platform/cFrameStepTimeSource.h"
#include "platform/show_time_source.h"
#include "runtime/cSceneManager.h"
#include "support/gl_fixture.h"
#include "support/prerequisite.h"
#include "texture/cResourcePath.h"
#include "texture/cTextureManager.h"

namespace {
cFrameStepTimeSource* stepped_clock()
{
    setenv("WENDIT_FRAME_MS", "20", 0);
    show_time_source();
    return frame_step_source();
}

struct CountingScene : cScene {
    using cScene::cScene;
    std::string getName() override { return "counting"; }
    void init() override { ++inits; }
    void restart() override {}
    void reservedHook() override {}
    void draw() override {}
    void handleEvent(cEvent*) override {}
    bool update() override { return false; }
    void fillGui(cGuiVarList&) override {}
    cTmpRT render(int) override { return {}; }
    int inits = 0;
};

// Records when it was drawn; paints the screen white.
struct RecordingScreen : iLoadScreen {
    explicit RecordingScreen(cSceneManager& sm) : sm(sm) {}
    void draw(float progress, bool present) override
    {
        glClearColor(1.f, 1.f, 1.f, 1.f);
        glClear(GL_COLOR_BUFFER_BIT);
        if (present) {
            ++presented;
            lastPresentedAt = sm.demo_time();
            sm.time_source()->sleep_ms(200);
        } else {
            ++fadeFrames;
        }
        lastProgress = progress;
    }
    cSceneManager& sm;
    int presented = 0, fadeFrames = 0, lastPresentedAt = -1;
    float lastProgress = -1.f;
};
}  // namespace

using Startup = GLTest;

TEST_F(Startup, LoadingImageShowsAtAQuarterOfItsBrightness)
{
    cFrameStepTimeSource* clock = stepped_clock();
    if (!clock)
        MISSING_PREREQUISITE("the show clock was chosen before this test (each test runs alone under ctest)");
    char tmpl[] = "/tmp/wendit-ls-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl;
    FIBITMAP* b = FreeImage_Allocate(64, 32, 24);
    RGBQUAD c{40, 100, 200, 0};
    for (unsigned y = 0; y < 32; ++y)
        for (unsigned x = 0; x < 64; ++x)
            FreeImage_SetPixelColor(b, x, y, &c);
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, b, (dir + "/loadscreen.jpg").c_str(), 0));
    FreeImage_Unload(b);
    get_resource_path()->push_searchpath(dir);

    glClearColor(0.3f, 0.2f, 0.1f, 0.f);
    {
        cLoadScreen_MM ls(clock);
        ls.draw(0.5f, false);
        EXPECT_TRUE(near_rgba(read_pixel(640, 360), {50, 25, 10, 255}, 2));
        const int64_t before = clock->ms();
        ls.draw(1.f, true);
        EXPECT_GE(clock->ms() - before, cLoadScreen_MM::PRESENT_MS);
        EXPECT_LT(clock->ms() - before, cLoadScreen_MM::PRESENT_MS + 40);
        EXPECT_EQ(ls.progress, 1.f);
    }
    float cc[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, cc);
    EXPECT_FLOAT_EQ(cc[0], 0.3f) << "the clear colour is restored";

    // An image whose sides are no powers of two is a rectangle texture and
    // still covers the whole screen.
    FIBITMAP* r = FreeImage_Allocate(100, 60, 24);
    RGBQUAD red{0, 0, 240, 0}, green{0, 240, 0, 0};
    for (unsigned y = 0; y < 60; ++y)
        for (unsigned x = 0; x < 100; ++x)
            FreeImage_SetPixelColor(r, x, y, x < 50 ? &red : &green);
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, r, (dir + "/wide.png").c_str(), 0));
    FreeImage_Unload(r);
    {
        cLoadScreen_MM ls(clock);
        ls.imageName = "wide.png";
        ls.image = get_texture_manager()->get_texture("wide.png", false, GL_CLAMP_TO_EDGE, 0);
        ASSERT_EQ(ls.image.target, GLenum(GL_TEXTURE_RECTANGLE_ARB));
        ls.draw(0.f, false);
        EXPECT_TRUE(near_rgba(read_pixel(100, 360), {60, 0, 0, 255}, 2));
        EXPECT_TRUE(near_rgba(read_pixel(1180, 360), {0, 60, 0, 255}, 2));
    }
    std::system(("rm -rf " + dir).c_str());
}

TEST_F(Startup, HoldsUntilFiveSecondsThenFadesToBlack)
{
    cFrameStepTimeSource* clock = stepped_clock();
    if (!clock)
        MISSING_PREREQUISITE("the show clock was chosen before this test (each test runs alone under ctest)");
    cSceneManager sm(clock);
    sm.init_clock();
    CountingScene* scene = sm.add_scene<CountingScene>();
    RecordingScreen ls(sm);
    sm.debug_test_scene(ls);
    EXPECT_EQ(sm.current(), scene);
    EXPECT_EQ(scene->inits, 1);
    // The hold loop tests the time of its previous pass, so the last
    // presenting draw starts within one pass (10 + 200 ms) after 5000.
    EXPECT_GE(ls.lastPresentedAt, 5000);
    EXPECT_LT(ls.lastPresentedAt, 5000 + 210) << "the image is held until 5000 ms, no longer";
    EXPECT_GE(sm.demo_time(), 5000 + 1500);
    EXPECT_LT(sm.demo_time(), 5000 + 1500 + 300);
    EXPECT_GE(ls.fadeFrames, 1500 / 20 - 1);
    EXPECT_EQ(ls.lastProgress, 1.f);
    // The last frame shown is black.
    glReadBuffer(GL_FRONT);
    Rgba shown = read_pixel(640, 360);
    glReadBuffer(GL_BACK);
    shown.a = 0;  // the window itself has no alpha channel
    EXPECT_TRUE(near_rgba(shown, {0, 0, 0, 0}, 1));
}

TEST(StartupFailure, NoSceneEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Blank : iLoadScreen {
        void draw(float, bool) override {}
    } ls;
    cManualTimeSource clock;
    EXPECT_EXIT(
        {
            cSceneManager sm(&clock);
            sm.debug_test_scene(ls);
        },
        testing::ExitedWithCode(255), "debug_test_scene: scene 0 not added - exiting!");
}

TEST(ShowClock, FrameStepComesFromTheEnvironment)
{
    EXPECT_EQ(parse_frame_step_us("16.667"), 16667);
    EXPECT_EQ(parse_frame_step_us("40"), 40000);
    EXPECT_EQ(parse_frame_step_us("0"), 0);
    EXPECT_EQ(parse_frame_step_us("-5"), 0);
    EXPECT_EQ(parse_frame_step_us("fast"), 0);
    EXPECT_EQ(parse_frame_step_us("10ms"), 0);
    EXPECT_EQ(parse_frame_step_us(nullptr), 0);
    cFrameStepTimeSource s(16667);
    s.frame_presented();
    s.frame_presented();
    s.sleep_ms(10);
    EXPECT_EQ(s.ms(), 43);
}
