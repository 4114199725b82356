// The mandala cube scene on the baked data tree: configurations, MIDI
// reactions, the kaleidoscope planes' symmetries by pixels, the relief
// layers' morph, and whole pictures at several moments of its 46 seconds.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <string>

#include "assets/mandala_cube.h"
#include "mesh_files/cMeshObj.h"
#include "post/post.h"
#include "render/cRenderTargetManager.h"
#include "render/quad.h"
#include "scenes/cSceneMandalaCube.h"
#include "shaders/cShaderManager_CG.h"
#include "support/baked_data.h"
#include "support/shader_setup.h"
#include "texture/cResourcePath.h"
#include "timeline/iMidiEvent.h"
#include "tweak/iVar.h"
#include "util/random_table.h"

namespace {
class MandalaCube : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        const std::string data = baked_data_dir();
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        oldCwd = cwd;
        ASSERT_EQ(chdir((data + "/../bin").c_str()), 0);
        start_shaders();
        get_resource_path()->push_searchpath("../data/textures");
        get_rendertarget_manager()->demo_time = [] { return 0; };
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        scene.init();
        loadLines = testing::internal::GetCapturedStderr();
        testing::internal::GetCapturedStdout();
        // The mesh cache outlives a test, the texture manager does not:
        // reload the cached meshes' textures into this test's manager.
        for (iMesh* m : {scene.cube_face})
            dynamic_cast<cMeshObj*>(m)->build_gl_materials();
        for (cMeshMorph& l : scene.layers)
            dynamic_cast<cMeshObj*>(l.base)->build_gl_materials();
    }
    void TearDown() override
    {
        ASSERT_EQ(chdir(oldCwd.c_str()), 0);
        GLTest::TearDown();
    }
    void at(int ms, int step = 20)
    {
        clock.now = ms;
        clock.previous = ms - step;
    }
    void note(int time, int track, int key)
    {
        cMETrigger e(time, iMidiEvent::KIND_NOTE_ON, track, key, 100);
        scene.handleEvent(&e);
    }

    DemoClock clock;
    cSceneMandalaCube scene{&clock};
    std::string oldCwd, loadLines;
};

float luminance(const Rgba& c)
{
    return 0.3f * c.r + 0.59f * c.g + 0.11f * c.b;
}

bool same_pixels(const std::vector<Rgba>& a, const std::vector<Rgba>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].r != b[i].r || a[i].g != b[i].g || a[i].b != b[i].b || a[i].a != b[i].a)
            return false;
    return true;
}
}  // namespace

TEST_F(MandalaCube, FirstUpdateAppliesConfigurationZeroThenEachNumberAsItChanges)
{
    EXPECT_EQ(loadLines.find("ERROR"), std::string::npos) << loadLines;
    EXPECT_EQ(scene.planes.size(), 7u);
    scene.update();
    EXPECT_FLOAT_EQ(scene.camera.eye[0], 164.36f);
    EXPECT_FLOAT_EQ(scene.camera.fov, 95.061f);
    EXPECT_EQ(scene.kaleido, 0);
    EXPECT_EQ(scene.inside, 1);

    // The composition drives the scene by these names.
    const int two = 2;
    ASSERT_NE(scene.find_var("cur_config"), nullptr);
    scene.find_var("cur_config")->setValue(&two);
    scene.update();
    EXPECT_EQ(scene.inside, 0);
    EXPECT_EQ(scene.kaleido, 7);
    EXPECT_FLOAT_EQ(scene.morph, 0.25f);
    EXPECT_FLOAT_EQ(scene.camera.centre[2], 50.f);

    scene.morph = 0.6f;
    scene.update();  // unchanged number: nothing re-applied
    EXPECT_FLOAT_EQ(scene.morph, 0.6f);
    scene.cur_config = 9;
    scene.update();
    EXPECT_EQ(scene.kaleido, 7);
    EXPECT_FLOAT_EQ(scene.morph, 0.6f);

    const SceneVars vars = scene.getVars();
    ASSERT_EQ(vars.size(), 4u);
    const char* names[4] = {"cur_config", "rot", "threshold", "backits"};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(vars[i].var->getName(), names[i]);
    EXPECT_EQ(vars[2].var->getPointer(), &scene.noise.threshold);
}

TEST_F(MandalaCube, MidiResetsTheSpinKicksTheMorphAndPulsesOnlyOnItsNotes)
{
    at(1000);
    scene.update();
    EXPECT_NEAR(scene.rot, 0.6f, 1e-4) << "30 degrees a second";

    note(1000, 5, 37);
    EXPECT_TRUE(scene.interpolators.empty()) << "note 37 is not a pulse note";
    note(1000, 5, 36);
    note(1000, 2, 60);
    EXPECT_EQ(scene.interpolators.size(), 2u);
    at(1000);
    scene.update();
    EXPECT_FLOAT_EQ(scene.pulse, 1.f);
    EXPECT_NEAR(scene.morph, 0.286058f, 1e-5);
    at(1125);
    scene.update();
    EXPECT_NEAR(scene.pulse, 0.5f, 1e-3);
    at(1300);
    scene.update();
    EXPECT_FLOAT_EQ(scene.pulse, 0.f);
    EXPECT_FLOAT_EQ(scene.morph, 0.f);

    // Paused: the spin stands still, a track-7 note still resets it.
    clock.paused = true;
    const float before = scene.rot;
    EXPECT_GT(before, 0.f);
    scene.update();
    EXPECT_FLOAT_EQ(scene.rot, before);
    note(1300, 7, 50);
    EXPECT_FLOAT_EQ(scene.rot, 0.f);
}

// A loop plays the same notes pass after pass: each pass's pulses leave the
// list once played out, so it holds only the pulses under way, and every
// pass draws the same values.
TEST_F(MandalaCube, NotePulsesLeaveOnceDoneSoALoopDoesNotGrowTheList)
{
    std::vector<float> first;
    std::vector<size_t> atEnd;
    for (int pass = 0; pass < 3; ++pass) {
        clock.jumps = pass;  // the wrap back to the start
        for (int t = 1000; t <= 5000; t += 20) {
            if (t % 500 == 0) {
                note(t, 5, 36);
                note(t, 2, 60);
            }
            at(t);
            scene.update();
            if (pass == 0)
                first.push_back(scene.pulse + scene.morph);
            else
                ASSERT_FLOAT_EQ(scene.pulse + scene.morph, first[size_t(t - 1000) / 20]) << pass << " " << t;
            // A few pulses under way and the previous pass's last ones,
            // waiting to be passed again; a pass holds 18 notes of each kind.
            ASSERT_LE(scene.interpolators.size(), 12u) << pass << " " << t;
        }
        atEnd.push_back(scene.interpolators.size());
    }
    EXPECT_EQ(atEnd[1], atEnd[2]);
}

TEST_F(MandalaCube, EachKaleidoscopePlaneFoldsThePictureWithItsSymmetry)
{
    // An asymmetric picture: red grows to the right, green upwards, blue
    // with both.
    cTmpRT src = get_tmp_rt(RTT_HALF), dst = get_tmp_rt(RTT_HALF);
    const int W = int(src->width), H = int(src->height);
    for (int x = 0; x < W; x += 4)
        paint_rect(src.get(), x, 0, x + 4, H, {x * 255 / W, 0, 0, 255});
    std::vector<Rgba> base = read_target(src.get());
    for (int y = 0; y < H; y += 4)
        for (int x = 0; x < W; x += 32)
            paint_rect(src.get(), x, y, x + 32, y + 4,
                       {base[size_t(y) * W + x].r, y * 255 / H, (x * y) * 255 / (W * H), 255});
    const std::vector<Rgba> in = read_target(src.get());

    auto fold = [&](int k) {
        glClearColor(0.f, 0.f, 0.f, 0.f);
        dst->bind(true);
        scene.kaleido_pass(src.get(), k);
        dst->unbind();
        return read_target(dst.get());
    };
    // The picture at a point of the plane's unit square (the pass draws it
    // 1.01 times larger, from the corner).
    auto px = [&](const std::vector<Rgba>& p, double u, double v) {
        return p[size_t(int(v * 1.01 * H)) * size_t(W) + size_t(int(u * 1.01 * W))];
    };
    auto same = [&](const std::vector<Rgba>& p, double u0, double v0, double u1, double v1) {
        return near_rgba(px(p, u0, v0), px(p, u1, v1), 12) << " at (" << u0 << ", " << v0 << ") and (" << u1
                                                             << ", " << v1 << ")";
    };
    const double samples[] = {0.07, 0.19, 0.31, 0.43};

    const std::vector<Rgba> flat = fold(0);
    EXPECT_TRUE(near_rgba(flat[size_t(H / 2) * W + W / 3], in[size_t(H / 2) * W + W / 3], 2));
    EXPECT_TRUE(same_pixels(fold(-3), flat)) << "below 0: unfolded";

    const std::vector<Rgba> hz = fold(2), dual = fold(3), matrix = fold(5);
    for (double u : samples)
        for (double v : samples) {
            EXPECT_TRUE(same(hz, u, v, 1 - u, v));
            EXPECT_TRUE(same(hz, u, v + 0.5, 1 - u, v + 0.5));
            EXPECT_TRUE(near_rgba(px(hz, u, v), in[size_t(int(v * H)) * W + size_t(int(u * W))], 12))
                << "the left half is the picture's";
            EXPECT_TRUE(same(dual, u, v, 1 - u, v));
            EXPECT_TRUE(same(dual, u, v, u, 1 - v));
            EXPECT_TRUE(same(dual, u, v, 1 - u, 1 - v));
            // Tiles a quarter wide and high, each the whole picture,
            // neighbours mirrored.
            const double a = u / 2, b = v / 2;
            EXPECT_TRUE(same(matrix, a, b, 0.5 - a, b));
            EXPECT_TRUE(same(matrix, a, b, a, 0.5 - b));
            EXPECT_TRUE(same(matrix, a, b, a + 0.5, b + 0.5));
        }
    EXPECT_FALSE(near_rgba(px(hz, 0.1, 0.5), px(hz, 0.4, 0.5), 12)) << "not a flat picture";

    // Around the middle: the sector angle's turn maps the picture onto itself.
    const std::vector<Rgba> cylinder = fold(1), triple = fold(4), repeat = fold(6), mandala = fold(7);
    auto turned = [&](const std::vector<Rgba>& p, double degrees, bool mirrorToo) {
        for (double r : {0.12, 0.23, 0.34})
            for (int i = 0; i < 12; ++i) {
                const double a = (i * 30 + 7) * M_PI / 180, b = a + degrees * M_PI / 180;
                const double u = 0.5 + r * std::cos(a), v = 0.5 + r * std::sin(a);
                EXPECT_TRUE(same(p, u, v, 0.5 + r * std::cos(b), 0.5 + r * std::sin(b))) << degrees;
                if (mirrorToo) {  // mirrored about the vertical through the middle
                    EXPECT_TRUE(same(p, u, v, 0.5 + r * std::cos(M_PI - a), 0.5 + r * std::sin(M_PI - a)));
                }
            }
    };
    turned(triple, 120, false);
    turned(repeat, 45, false);
    turned(mandala, 45, true);
    EXPECT_FALSE(near_rgba(px(repeat, 0.5 + 0.3 * std::cos(0.2), 0.5 + 0.3 * std::sin(0.2)),
                           px(repeat, 0.5 + 0.3 * std::cos(0.6), 0.5 + 0.3 * std::sin(0.6)), 12))
        << "a sector is not flat";
    for (double u : samples)
        for (double d : {0.05, 0.17, 0.29})
            EXPECT_TRUE(same(cylinder, u + 0.05, 0.5 + d, u + 0.05, 0.5 - d)) << "the seam is mirrored";

    EXPECT_TRUE(same_pixels(fold(12), mandala)) << "above 7: the last plane";
}

TEST_F(MandalaCube, ReliefLayersMorphFromTheirInToTheirOutShape)
{
    // The bake's pairs match vertex by vertex; a pair that differs is refused.
    cMeshData in, out, other;
    for (int k = 2; k <= 9; ++k) {
        ASSERT_TRUE(build_relief_layer(k, false, in) && build_relief_layer(k, true, out));
        std::string error;
        EXPECT_TRUE(check_morph_pair(in, out, error)) << k << ": " << error;
    }
    build_relief_layer(2, true, other);
    std::string error;
    EXPECT_FALSE(check_morph_pair(in, other, error));
    EXPECT_NE(error.find("vertices"), std::string::npos) << error;

    // The rosette seen face on: a bud within radius 55 at 0, an open flower
    // reaching past radius 80 at 1.
    cTmpRT rt = get_tmp_rt(RTT_HALF);
    const int W = int(rt->width), H = int(rt->height);
    auto lit = [&](float morph, double beyond) {
        cMeshMorph::setMorph(morph);
        rt->bind(true);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(-130.0 * W / H, 130.0 * W / H, -130, 130, -1000, 1000);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT);
        const GLfloat dir[4] = {0, 0, 1, 0}, white[4] = {1, 1, 1, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, dir);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glEnable(GL_DEPTH_TEST);
        scene.layers[0].draw();
        glPopAttrib();
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        rt->unbind();
        int count = 0;
        const std::vector<Rgba> p = read_target(rt.get());
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const double r = std::hypot(x + 0.5 - W / 2.0, y + 0.5 - H / 2.0) * 260.0 / H;
                count += r > beyond && p[size_t(y) * W + x].a > 0;
            }
        return count;
    };
    EXPECT_GT(lit(0.f, 0.0), 500);
    EXPECT_EQ(lit(0.f, 58.0), 0);
    EXPECT_GT(lit(1.f, 80.0), 500);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // A pair whose vertex counts differ is refused at load and drawn unmorphed.
    cMeshMorph odd;
    testing::internal::CaptureStderr();
    odd.loadMorph("layer02_in.bzobj", "layer03_out.bzobj");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("\"layer02_in.bzobj\" has"), std::string::npos) << said;
    EXPECT_NE(said.find("\"layer03_out.bzobj\" has"), std::string::npos) << said;
    EXPECT_EQ(odd.target, nullptr);
    odd.draw();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(MandalaCube, RendersLivePicturesThroughTheShowsFirstSeconds)
{
    // The moments the composition shows: outside (config 2) in the first
    // second, inside from 2 s with the light band rising, outside again
    // at 13 s.
    const struct {
        int ms, config;
        float backits;
    } moments[] = {{500, 2, 0.f}, {3000, 0, 0.5f}, {8000, 0, 1.f}, {13000, 2, 0.f}, {30000, 0, 1.f}};
    get_shader_manager()->bind("rgbatex_shader");  // the caller's shader comes back
    for (const auto& m : moments) {
        at(m.ms);
        scene.cur_config = m.config;
        scene.backits = m.backits;
        scene.update();
        const GLStateSnapshot before = snapshot_gl_state();
        const unsigned inUse = get_rendertarget_manager()->in_use();
        cTmpRT out = scene.render(m.ms);
        ASSERT_TRUE(out.get());
        EXPECT_EQ(out->width, 640u);
        EXPECT_EQ(out->height, 360u);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << m.ms;
        EXPECT_TRUE(snapshot_gl_state() == before) << m.ms << ": " << snapshot_gl_state().describe();
        EXPECT_EQ(get_rendertarget_manager()->in_use(), inUse + 1) << "only the result is held";
        const std::vector<Rgba> p = read_target(out.get());
        int dark = 0, white = 0;
        for (const Rgba& c : p) {
            dark += luminance(c) < 12;
            white += luminance(c) > 245;
        }
        EXPECT_LT(dark, int(p.size()) * 6 / 10) << m.ms << " ms: mostly empty";
        EXPECT_LT(white, int(p.size()) / 2) << m.ms << " ms: blown out";
    }
    get_shader_manager()->unbind();

    // One MIDI moment to the next: a morph kick and a pulse change the picture.
    at(20000);
    scene.cur_config = 0;
    scene.update();
    set_random_cursor(0);  // the same jitter for both pictures
    cTmpRT calm = scene.render(0);
    const std::vector<Rgba> a = read_target(calm.get());
    calm.release();
    note(20000, 2, 60);
    note(20000, 5, 42);
    at(20000, 0);
    scene.update();
    set_random_cursor(0);
    cTmpRT kicked = scene.render(0);
    const std::vector<Rgba> b = read_target(kicked.get());
    int differ = 0;
    for (size_t i = 0; i < a.size(); ++i)
        differ += std::abs(luminance(a[i]) - luminance(b[i])) > 24;
    EXPECT_GT(differ, int(a.size()) / 10);
}
