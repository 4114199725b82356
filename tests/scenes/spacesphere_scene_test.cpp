// The space sphere: its camera motion, its flickering levels and its
// pictures.
#include <cmath>

#include "scenes/cSceneSpacesphere.h"
#include "scenes/middle_scene_fixture.h"

namespace {
using SkySceneTest = MiddleSceneOf<cSceneSpacesphere>;
}  // namespace

TEST_F(SkySceneTest, CameraCirclesRocksAndWidensOnTheKick)
{
    note(3000, 3);
    queue.sort();
    play_to(scene, 0);
    scene.update();
    EXPECT_FLOAT_EQ(scene.camera.eye[0], 40.f);
    EXPECT_FLOAT_EQ(scene.camera.eye[1], -20.f);
    EXPECT_FLOAT_EQ(scene.camera.eye[2], 0.f);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(scene.camera.up[k], 1.f / std::sqrt(3.f), 1e-6f);
    EXPECT_FLOAT_EQ(scene.camera.fov, 100.f);
    play_to(scene, 3000);
    scene.update();
    EXPECT_FLOAT_EQ(scene.camera.fov, 120.f);  // the envelope is clamped at 1
    play_to(scene, 3050);
    scene.update();
    EXPECT_GT(scene.camera.fov, 100.f);
    EXPECT_LT(scene.camera.fov, 120.f);
}

TEST_F(SkySceneTest, RendersAFlickeringSky)
{
    play_to(scene, 10000);
    scene.update();
    const auto first = render_checked(scene, RTT_FULL);
    EXPECT_TRUE(looks_like_a_picture(first));
    for (int i = 0; i < 20; ++i) {
        scene.render(clock.demo_time());
        EXPECT_GE(scene.lastLevels.in_black, 25.f);
        EXPECT_LE(scene.lastLevels.in_black, 50.f);
        EXPECT_GE(scene.lastLevels.in_white, 245.f);
        EXPECT_LE(scene.lastLevels.in_white, 250.f);
    }
    // The corners lie under the vignette.
    const PictureStats whole = picture_stats(first);
    std::vector<Rgba> corner;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x)
            corner.push_back(first[size_t(y) * 1280 + size_t(x)]);
    EXPECT_LT(picture_stats(corner).mean, whole.mean);
    play_to(scene, 17000);
    scene.update();
    EXPECT_GT(picture_difference(first, render_checked(scene, RTT_FULL)), 4.0);
}
