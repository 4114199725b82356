// The black-and-white star: its path, its reactions, the eight-fold mirror
// by pixels, and its pictures.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "mesh_files/iMesh.h"
#include "scenes/cSceneBlacknWhite.h"
#include "scenes/middle_scene_fixture.h"

namespace {
using StarSceneTest = MiddleSceneOf<cSceneBlacknWhite>;
}  // namespace

TEST_F(StarSceneTest, PathAndDistortionFollowTheirControls)
{
    scene.cur_t = 0.5f;
    scene.update();
    EXPECT_NEAR(scene.starPos[0], -587.6f, 1e-3f);
    EXPECT_NEAR(scene.starPos[1], 115.765f, 1e-3f);
    EXPECT_NEAR(scene.starPos[2], -39.54f, 1e-3f);
    EXPECT_FLOAT_EQ(scene.blur.num_samples, 22.f);

    scene.noise_t = 0.f;
    cSineNoiseParams p = scene.distortion(1.f, 1280.f);
    EXPECT_EQ(p.scales[0], 0.f);
    EXPECT_EQ(p.scales[1], 0.f);
    EXPECT_FLOAT_EQ(p.threshold, 0.15f);
    scene.noise_t = 1.f;
    scene.pulse = 1.f;
    p = scene.distortion(1.f, 1280.f);
    EXPECT_FLOAT_EQ(p.scales[0], 21.2861f);
    EXPECT_EQ(p.threshold, 0.f);
    EXPECT_EQ(p.texheight, 1280.f);
}

TEST_F(StarSceneTest, PercussionPulsesUnlessBlocked)
{
    note(1000, 5, 42);
    note(2000, 5, 42);
    note(2000, 5, 43);  // not one of the four notes
    note(3000, 2);
    note(3000, 3);
    queue.sort();
    scene.force_noblink = 1.f;
    play_to(scene, 1001);
    scene.update();
    EXPECT_EQ(scene.pulse, 0.f);
    EXPECT_EQ(scene.blur.propagation, 1.f);
    scene.force_noblink = 0.f;
    play_to(scene, 2001);
    scene.update();
    EXPECT_NEAR(scene.pulse, 1.f, 0.01f);
    play_to(scene, 2125);
    scene.update();
    EXPECT_NEAR(scene.pulse, 0.5f, 0.01f);

    // At a hit and a kick together the propagation bottoms out at 0, and
    // never leaves [0, 1]; a full force_bright gives exactly 0.3.
    for (int ms = 2800; ms < 3300; ms += 20) {
        play_to(scene, ms);
        scene.update();
        EXPECT_GE(scene.blur.propagation, 0.f);
        EXPECT_LE(scene.blur.propagation, 1.f);
    }
    play_to(scene, 3000);
    scene.force_bright = 1.f;
    scene.update();
    EXPECT_EQ(scene.blur.propagation, 0.3f);
    // Finished pulses leave the interpolator list.
    play_to(scene, 5000);
    scene.update();
    EXPECT_TRUE(scene.interpolators.empty());
}

TEST_F(StarSceneTest, TheMirrorFoldsTheStarEightWays)
{
    // Looking straight down the mirror's axis, the picture must be the
    // same on both sides of every 22.5-degree line through the centre.
    cTmpRT t = get_tmp_rt(RTT_FULL);
    scene.starPos[0] = -150.f, scene.starPos[1] = 40.f, scene.starPos[2] = 0.f;
    scene.camera.eye[0] = 0.f, scene.camera.eye[1] = 0.f, scene.camera.eye[2] = 900.f;
    scene.camera.centre[0] = scene.camera.centre[1] = scene.camera.centre[2] = 0.f;
    scene.camera.up[0] = 0.f, scene.camera.up[1] = 1.f, scene.camera.up[2] = 0.f;
    scene.camera.fov = 40.f;
    float m[16];
    scene.object_matrix(1.7f, m);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat origin[4] = {0.f, 0.f, 0.f, 1.f};
    glLightfv(GL_LIGHT0, GL_POSITION, origin);
    scene.apply_camera();
    glClearColor(0.f, 0.f, 0.f, 0.f);
    t->bind(true);
    scene.mirror_draw(scene.spikes, m);
    scene.mirror_draw(scene.star, m);
    t->unbind();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    const auto px = read_target(t.get());
    auto luma_at = [&](int x, int y) {
        const Rgba& p = px[size_t(y) * 1280 + size_t(x)];
        return 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
    };
    auto point = [](double r, double deg, int& x, int& y) {
        const double a = deg * M_PI / 180.0;
        x = int(std::lround(640 + r * std::cos(a)));
        y = int(std::lround(360 + r * std::sin(a)));
    };
    // Within rasterisation tolerance: the mirrored pixel's value lies in
    // the range of the 3x3 block around its reflection.
    int lit = 0, compared = 0, mismatched = 0;
    for (double r = 12; r < 350; r += 6)
        for (double deg = 0; deg < 360; deg += 2.5) {
            int x, y;
            point(r, deg, x, y);
            const double here = luma_at(x, y);
            lit += here > 30;
            for (double line : {0.0, 22.5, 67.5}) {
                point(r, 2 * line - deg, x, y);
                double lo = 255, hi = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        lo = std::min(lo, luma_at(x + dx, y + dy));
                        hi = std::max(hi, luma_at(x + dx, y + dy));
                    }
                ++compared;
                mismatched += here < lo - 24 || here > hi + 24;
            }
        }
    EXPECT_GT(lit, 1000);
    EXPECT_LT(mismatched, compared / 100) << mismatched << " of " << compared;
}

TEST_F(StarSceneTest, RendersAPictureThatChangesWithTheNotes)
{
    EXPECT_NE(scene.find_var("cur_t"), nullptr);
    EXPECT_NE(scene.find_var("noise_t"), nullptr);
    EXPECT_NE(scene.find_var("force_noblink"), nullptr);
    note(4000, 5, 36);
    note(4000, 2);
    queue.sort();
    scene.cur_t = 0.9f;
    scene.noise_t = 1.f;
    play_to(scene, 3500);
    scene.update();
    const auto before = render_checked(scene, RTT_FULL);
    EXPECT_TRUE(looks_like_a_picture(before));
    play_to(scene, 4010);
    scene.update();
    const auto at = render_checked(scene, RTT_FULL);
    EXPECT_TRUE(looks_like_a_picture(at));
    EXPECT_GT(picture_difference(before, at), 4.0);
}
