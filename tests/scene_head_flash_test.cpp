// The head flash drawn for real: the page, the flash after a note, the
// forced head, and the copies stacked then spreading.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/cManualTimeSource.h"
#include "render/cRenderTargetManager.h"
#include "runtime/cSceneManager.h"
#include "scenes/cSceneSmurf.h"
#include "support/baked_data.h"
#include "support/shader_setup.h"
#include "timeline/iMidiEvent.h"
#include "util/random_table.h"

namespace {
class HeadFlash : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        start_shaders();
        use_baked_textures();
        get_rendertarget_manager()->demo_time = [] { return 0; };
        manager.init_clock();
        head = manager.add_scene<cSceneSmurf>();
        testing::internal::CaptureStderr();
        head->init();
        testing::internal::GetCapturedStderr();
        head->curheadscale = 0.5f;
    }
    // The page at demo time t: centre pixel and the brightest pixel of the
    // middle row.
    void look(int t, Rgba& centre, int& brightestRow, int* rightmost = nullptr)
    {
        source.set_ms(t);
        manager.advance_clock();
        cTmpRT page = head->render(t / 1000);
        const std::vector<Rgba> px = read_target(page.get());
        const int w = int(page->width), h = int(page->height);
        centre = px[size_t(h / 2) * size_t(w) + size_t(w / 2)];
        brightestRow = 0;
        for (int x = 0; x < w; ++x)
            brightestRow = std::max(brightestRow, px[size_t(h / 2) * size_t(w) + size_t(x)].r);
        if (rightmost) {
            *rightmost = 0;
            for (int x = 0; x < w; ++x)
                if (px[size_t(h / 2) * size_t(w) + size_t(x)].r > 52)
                    *rightmost = x;
        }
    }
    void note(int t)
    {
        cMETrigger e(t, iMidiEvent::KIND_NOTE_ON, cSceneSmurf::NOTE_TRACK, 60, 100);
        head->handleEvent(&e);
    }
    cManualTimeSource source;
    cSceneManager manager{&source};
    cSceneSmurf* head = nullptr;
};
}  // namespace

TEST_F(HeadFlash, BetweenNotesThePageIsPlainDarkGrey)
{
    Rgba centre;
    int brightest = 0;
    look(5000, centre, brightest);
    EXPECT_TRUE(near_rgba(centre, {51, 51, 51, 0}, 1));
    EXPECT_LE(brightest, 52);
}

TEST_F(HeadFlash, ANoteLightsTheHeadAndForcingKeepsItOn)
{
    Rgba centre, later;
    int brightest = 0, brightestLater = 0;
    note(1000);
    look(1100, centre, brightest);
    EXPECT_GT(brightest, 100) << "the head lights up right after the note";
    look(1400, later, brightestLater);
    EXPECT_LE(brightestLater, 52) << "and is gone 350 ms after it";
    head->forceheadscale = 1.f;
    look(1400, later, brightestLater);
    EXPECT_GT(brightestLater, 100);
}

TEST_F(HeadFlash, CopiesStayStackedUntil150MsAfterTheNoteThenSpread)
{
    EXPECT_FLOAT_EQ(cSceneSmurf::spread(0, 1.f, 0.5f), 0.f);
    EXPECT_FLOAT_EQ(cSceneSmurf::spread(150, cSceneSmurf::flash(150), 0.5f), 0.f);
    EXPECT_GT(cSceneSmurf::spread(300, cSceneSmurf::flash(300), 0.5f), 0.f);
    EXPECT_FLOAT_EQ(cSceneSmurf::flash(200), 1.f);
    EXPECT_FLOAT_EQ(cSceneSmurf::flash(350), 0.f);
    // 100 ms after a note the copies are stacked: the head's right edge is
    // where the head is; at 300 ms they have spread past it (the shared
    // random values lie in [0.5, 1), so copies move to the right).
    Rgba c;
    int bright = 0, stacked = 0, spread = 0, forced = 0;
    note(1000);
    look(1100, c, bright, &stacked);
    int widest = stacked;
    for (int k = 0; k < 4; ++k) {
        look(1300, c, bright, &spread);
        widest = std::max(widest, spread);
    }
    EXPECT_GT(widest, stacked + 10);
    // Forced fully on, the copies stay stacked whatever the time.
    head->forceheadscale = 1.f;
    look(1300, c, bright, &forced);
    EXPECT_NEAR(forced, stacked, 2);
}
