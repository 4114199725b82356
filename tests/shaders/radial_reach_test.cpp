// The radial blur's arithmetic with the values the scenes pass: how far
// the rays reach, that the picture under them keeps its brightness, and
// that a record without samples leaves the picture alone.
#include <gtest/gtest.h>

#include "post/post.h"
#include "render/cRenderTargetManager.h"
#include "support/shader_setup.h"

namespace {
class RadialReachTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        start_pass_shaders();
        src = get_tmp_rt(RTT_FULL);
        dst = get_tmp_rt(RTT_FULL);
    }
    void TearDown() override
    {
        src.release();
        dst.release();
        GLTest::TearDown();
    }

    // A square of `grey` at x 230..250, y 350..370 on black, blurred towards
    // (200, 360) straight from src (no pre-blur), read back along y = 360.
    std::vector<Rgba> blur_row(float dist, float samples, float propagation, float multiplier, int grey = 255)
    {
        fill_target(src.get(), {0, 0, 0, 255});
        paint_rect(src.get(), 230, 350, 250, 370, {grey, grey, grey, 255});
        fill_target(dst.get(), {0, 0, 0, 0});
        dst->bind(false);
        radialblur_pass(src.get(), {200.f, 360.f, dist, samples, propagation, multiplier, RTT_QUATER});
        dst->unbind();
        auto all = read_target(dst.get());
        return std::vector<Rgba>(all.begin() + 360 * dst->width, all.begin() + 361 * dst->width);
    }

    // Pixels beyond the square's outer edge that the rays still light.
    static int reach(const std::vector<Rgba>& row)
    {
        int last = 250;
        for (int x = 250; x < int(row.size()); ++x)
            if (row[size_t(x)].r >= 1)
                last = x;
        return last - 249;
    }

    cTmpRT src, dst;
};
}  // namespace

TEST_F(RadialReachTest, PropagationSetsHowFarTheRaysReach)
{
    struct Case {
        const char* who;
        float dist, samples, multiplier;
    };
    // The spike ball's and the star's records.
    for (const Case& c : {Case{"spike", 150.f, 50.f, 0.15f}, Case{"star", 200.f, 30.f, 1.f}}) {
        for (float prop : {0.2f, 1.f}) {
            const auto row = blur_row(c.dist, c.samples, prop, c.multiplier);
            const float want = c.dist * prop;
            const int got = reach(row);
            EXPECT_GE(got, int(0.6f * want)) << c.who << " at propagation " << prop;
            EXPECT_LE(got, int(want) + 2) << c.who << " at propagation " << prop;
            EXPECT_EQ(row[240].r, 255) << c.who;        // the square itself stays white
            EXPECT_LE(row[225].r, 1) << c.who;          // nothing towards the centre
            EXPECT_GT(row[252].r, row[250 + int(want * 0.5f)].r) << c.who;  // rays fade outward
        }
    }
    // The multiplier sets their strength.
    const auto weak = blur_row(200.f, 30.f, 1.f, 0.15f), strong = blur_row(200.f, 30.f, 1.f, 1.f);
    EXPECT_GT(strong[300].r, 3 * weak[300].r);
    EXPECT_GT(weak[300].r, 0);
}

TEST_F(RadialReachTest, ThePictureUnderTheRaysKeepsItsBrightness)
{
    const auto spike = blur_row(150.f, 50.f, 0.5f, 0.15f, 128);
    EXPECT_GE(spike[248].r, 127);
    EXPECT_LE(spike[248].r, 128 + 0.15 * 128 + 2);
    const auto star = blur_row(200.f, 30.f, 0.85f, 1.f, 100);
    EXPECT_GE(star[248].r, 99);
}

TEST_F(RadialReachTest, NoSamplesDrawsTheSourceUnblurred)
{
    for (float samples : {0.f, -4.f, 1.f}) {
        const auto row = blur_row(150.f, samples, 1.f, 0.85f, 200);
        for (int x = 200; x < 420; ++x)
            ASSERT_EQ(row[size_t(x)].r, x >= 230 && x < 250 ? 200 : 0) << "samples " << samples << " x " << x;
    }
}

// Into a full-size target from a quarter-size blur, the rays are drawn at
// quarter size and magnified: the picture is the one drawn into the full
// target directly (the same samples, filtered), in place and not shifted.
TEST_F(RadialReachTest, IntoALargerTargetMatchesTheDirectDraw)
{
    const cRadialBlurParams p{50.f, 90.f, 150.f, 16.f, 0.9f, 1.f, RTT_QUATER};
    fill_target(src.get(), {0, 0, 0, 255});
    paint_rect(src.get(), 200, 300, 280, 420, {255, 200, 120, 255});
    cTmpRT direct = get_tmp_rt(RTT_FULL);
    {
        cTmpRT t = get_tmp_rt(RTT_QUATER);
        blur(src.get(), t.get(), true);
        direct->bind(false);
        radialblur_pass(t.get(), p);
        direct->unbind();
    }
    radialblur_into(dst.get(), src.get(), p);
    const auto want = read_target(direct.get());
    const auto got = read_target(dst.get());
    direct.release();
    ASSERT_EQ(want.size(), got.size());
    long lit = 0, off = 0;
    for (size_t i = 0; i < got.size(); ++i) {
        lit += want[i].r > 30;
        off += std::abs(int(want[i].r) - int(got[i].r)) > 24 || std::abs(int(want[i].b) - int(got[i].b)) > 24;
    }
    EXPECT_GT(lit, 20000);
    EXPECT_LT(off, lit / 50) << off << " of " << lit << " lit pixels differ";
}
