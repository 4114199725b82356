// The title and the credits: image steps on notes and at random, the kick,
// and the printed page read back.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/cManualTimeSource.h"
#include "render/cRenderTargetManager.h"
#include "runtime/cSceneManager.h"
#include "scenes/cSceneCredits.h"
#include "scenes/cSceneTitle.h"
#include "support/baked_data.h"
#include "support/shader_setup.h"
#include "timeline/cEventQueue.h"
#include "timeline/iMidiEvent.h"

namespace {
class InkScenes : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        start_shaders();
        use_baked_textures();
        get_rendertarget_manager()->demo_time = [] { return 0; };
        manager.init_clock();
        manager.set_event_queue(new cEventQueue());
        title = manager.add_scene<cSceneTitle>();
        title->queue = manager.event_queue();
        credits = manager.add_scene<cSceneCredits>();
        testing::internal::CaptureStderr();
        title->init();
        credits->init();
        testing::internal::GetCapturedStderr();
    }
    void note(int track, int t)
    {
        cMETrigger e(t, iMidiEvent::KIND_NOTE_ON, track, 60, 100);
        title->handleEvent(&e);
    }
    cManualTimeSource source;
    cSceneManager manager{&source};
    cSceneTitle* title = nullptr;
    cSceneCredits* credits = nullptr;
};

// Darkest value and mean over a rectangle of a target (fractions of it).
void ink_in(iRenderTarget* t, float x0, float y0, float x1, float y1, int& darkest, double& mean)
{
    const std::vector<Rgba> px = read_target(t);
    darkest = 255;
    double sum = 0;
    int n = 0;
    for (int y = int(y0 * float(t->height)); y < int(y1 * float(t->height)); ++y)
        for (int x = int(x0 * float(t->width)); x < int(x1 * float(t->width)); ++x) {
            const Rgba& p = px[size_t(y) * t->width + size_t(x)];
            darkest = std::min(darkest, p.r);
            sum += p.r;
            ++n;
        }
    mean = n ? sum / n : 0;
}
}  // namespace

TEST_F(InkScenes, TheTitleStepsOnTrackTwoAndKicksOnlyOnTrackThree)
{
    for (int k = 0; k < 15; ++k)
        note(2, 1000 + 100 * k);
    EXPECT_EQ(title->imageIndex, 0);
    note(2, 3000);
    EXPECT_EQ(title->imageIndex, 1);
    note(5, 3100);
    EXPECT_EQ(title->imageIndex, 1);
    // No track-3 note in the queue: no kick, the base position stands.
    note(3, 3200);
    source.set_ms(3200);
    manager.advance_clock();
    title->update();
    EXPECT_FLOAT_EQ(title->kickAmount, 0.f);
    EXPECT_FLOAT_EQ(title->base_x(), 0.15f);
    EXPECT_FLOAT_EQ(title->base_y(), 0.33f);
}

TEST_F(InkScenes, TheTitlePrintsBlackInkOnWhitePaper)
{
    cTmpRT page = title->render(0);
    int darkest = 0;
    double mean = 0;
    // Inside the print: the steady copy's ink is black.
    ink_in(page.get(), 0.2f, 0.4f, 0.8f, 0.6f, darkest, mean);
    EXPECT_LE(darkest, 10);
    EXPECT_GT(mean, 60.0) << "letters, not a dark box";
    // Far from it the page is untouched white.
    ink_in(page.get(), 0.f, 0.9f, 1.f, 1.f, darkest, mean);
    EXPECT_GE(darkest, 250);
}

TEST_F(InkScenes, TheCreditsStepAboutOneFrameInTenWithoutMidi)
{
    int firstSteps = 0, secondSteps = 0;
    for (int k = 0; k < 2000; ++k) {
        const int a = credits->firstIndex, b = credits->secondIndex;
        credits->update();
        firstSteps += credits->firstIndex != a;
        secondSteps += credits->secondIndex != b;
    }
    EXPECT_NEAR(firstSteps, 200, 60);
    EXPECT_NEAR(secondSteps, 200, 60);
    cTmpRT page = credits->render(0);
    int darkest = 0;
    double mean = 0;
    ink_in(page.get(), 0.f, 0.f, 1.f, 1.f, darkest, mean);
    EXPECT_LE(darkest, 30);
    EXPECT_GT(mean, 180.0) << "a paper page with ink, not a grey one";
}
