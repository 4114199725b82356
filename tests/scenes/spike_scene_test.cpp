// The spike ball: its reactions to hits and kicks, its rings, and its
// pictures.
#include <cmath>

#include "runtime/cInterpolator.h"
#include "scenes/cSceneSpike.h"
#include "scenes/middle_scene_fixture.h"
#include "tweak/iVar.h"

namespace {
using SpikeSceneTest = MiddleSceneOf<cSceneSpike>;
}  // namespace

TEST_F(SpikeSceneTest, HitsAddOverlappingRingsFlipTheSpinAndTurnTheAxis)
{
    note(1000, 2);
    note(1200, 2);
    note(1300, 5);  // another track: ignored
    note(100, 2);   // fires late (after a seek): no ring, but it still counts
    queue.sort();
    play_to(scene, 1250);
    scene.update();
    ASSERT_EQ(scene.rings.size(), 2u);
    EXPECT_EQ(scene.rings[0]->start, 1000);
    EXPECT_EQ(scene.rings[0]->end, 1500);
    EXPECT_EQ(scene.rings[1]->end, 1700);
    // 100, 1000 and 1200 are in: three flips, the first axis the diagonal.
    EXPECT_FLOAT_EQ(scene.spinSpeed, -100.f);
    play_to(scene, 1600);
    scene.update();
    ASSERT_EQ(scene.rings.size(), 1u);
    EXPECT_EQ(scene.rings[0]->start, 1200);

    cSceneSpike fresh(&clock);
    fresh.init();
    float previous[3] = {0, 0, 0};
    for (int i = 0; i < 12; ++i) {
        cMETrigger hit(5000 + 100 * i, iMidiEvent::KIND_NOTE_ON, 2, 40, 100);
        clock.now = hit.time;
        fresh.handleEvent(&hit);
        const float* a = fresh.spinAxis;
        EXPECT_NEAR(a[0] * a[0] + a[1] * a[1] + a[2] * a[2], 1.f, 1e-5f);
        for (int k = 0; k < 3; ++k)
            EXPECT_GE(a[k], 0.f);
        for (int k = 0; k < 3 && i == 0; ++k)
            EXPECT_NEAR(a[k], 1.f / std::sqrt(3.f), 1e-6f);
        EXPECT_LT(a[0] * previous[0] + a[1] * previous[1] + a[2] * previous[2], 0.99999f) << "hit " << i;
        for (int k = 0; k < 3; ++k)
            previous[k] = a[k];
        EXPECT_FLOAT_EQ(fresh.spinSpeed, i % 2 ? 100.f : -100.f);  // even count: back to +100
    }
}

TEST_F(SpikeSceneTest, KickBreathesTheRays)
{
    note(5000, 3);
    note(9000, 3);
    note(9040, 3);  // close behind: the two terms add, unclamped
    queue.sort();
    auto propagation_at = [&](int ms) {
        play_to(scene, ms);
        scene.update();
        return scene.blur.propagation;
    };
    EXPECT_FLOAT_EQ(propagation_at(3000), 1.f);
    EXPECT_FLOAT_EQ(propagation_at(4940), 1.f);  // more than 50 ms ahead
    EXPECT_LE(propagation_at(5000), 0.2f + 1e-6f);
    EXPECT_FLOAT_EQ(propagation_at(5201), 1.f);  // more than 200 ms behind
    EXPECT_LT(propagation_at(9040), 0.2f - 0.1f);
}

TEST_F(SpikeSceneTest, RingsStayBelowTheirBrightnessCap)
{
    cTmpRT t = get_tmp_rt(RTT_HALF);
    scene.ringBrightness = 4.f;
    scene.rings.push_back(new cIntervalLerp(1000, 1500));
    for (int ms : {1000, 1300, 1499}) {  // 27, 5.8 and 1 screen heights across
        glClearColor(0.f, 0.f, 0.f, 0.f);
        t->bind(true);
        scene.draw_rings(ms);
        t->unbind();
        int brightest = 0;
        for (const Rgba& p : read_target(t.get()))
            brightest = std::max(brightest, p.r);
        EXPECT_LE(brightest, int(0.85f * 255.f) + 1) << ms;
        if (ms == 1300) {  // crossing the screen, at the cap
            EXPECT_GT(brightest, 200);
        }
    }
}

TEST_F(SpikeSceneTest, RendersAPictureThatChangesWithTheHits)
{
    EXPECT_EQ(scene.find_var("cam_dist") != nullptr && scene.find_var("desat") != nullptr, true);
    note(2000, 2);
    note(2000, 3);
    queue.sort();
    play_to(scene, 1500);
    scene.update();
    const auto calm = render_checked(scene, RTT_HALF);
    EXPECT_TRUE(looks_like_a_picture(calm));
    play_to(scene, 2100);
    scene.update();
    const auto hit = render_checked(scene, RTT_HALF);
    EXPECT_TRUE(looks_like_a_picture(hit));
    EXPECT_GT(picture_difference(calm, hit), 4.0);
}
