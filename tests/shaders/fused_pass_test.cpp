// Passes that do in one program what a chain of passes did give the
// chain's picture, read back from their targets: only the rounding to a
// byte between the chained passes may differ.
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "post/post.h"
#include "render/cRenderTargetManager.h"
#include "support/shader_setup.h"

namespace {
class FusedPassTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        start_pass_shaders();
    }
};

// A picture with edges and gradients in every channel, alpha included, so
// that displacements, blends and row averages all have something to move.
void paint_busy(iRenderTarget* t, int seed)
{
    fill_target(t, {20, 40, 60, 255});
    for (int i = 0; i < 24; ++i) {
        const int x = (i * 53 + seed * 31) % int(t->width), y = (i * 37 + seed * 17) % int(t->height);
        const Rgba c{(i * 70 + seed * 40) & 255, (i * 110 + seed * 20) & 255, (i * 30 + 90) & 255,
                     (i * 50 + seed * 60 + 60) & 255};
        paint_rect(t, x, y, x + 40 + i % 30, y + 25 + i % 20, c);
    }
}

// The largest difference of any channel of any pixel, or their mean.
double difference(iRenderTarget* a, iRenderTarget* b, bool mean = false)
{
    const std::vector<Rgba> pa = read_target(a), pb = read_target(b);
    int worst = 0;
    double sum = 0.0;
    for (size_t i = 0; i < pa.size() && i < pb.size(); ++i)
        for (int d : {pa[i].r - pb[i].r, pa[i].g - pb[i].g, pa[i].b - pb[i].b, pa[i].a - pb[i].a}) {
            worst = std::max(worst, std::abs(d));
            sum += std::abs(d);
        }
    return mean ? sum / (4.0 * double(std::max<size_t>(pa.size(), 1))) : double(worst);
}

int largest_difference(iRenderTarget* a, iRenderTarget* b)
{
    return int(difference(a, b));
}
}  // namespace

TEST_F(FusedPassTest, LayersComposedInOnePassEqualOneCompALayer)
{
    // Up to five layers (the fifth goes on from the first four's picture),
    // every mode, partial opacities.
    std::vector<cTmpRT> pictures;
    for (int i = 0; i < 5; ++i) {
        pictures.push_back(get_tmp_rt(RTT_QUATER));
        paint_busy(pictures.back().get(), i + 1);
    }
    const int modes[5] = {COMP_OVER, COMP_SCREEN, COMP_MODULATE, COMP_ADD, COMP_DODGE};
    const float opacity[5] = {1.f, 0.7f, 0.45f, 0.8f, 0.6f};
    cTmpRT one = get_tmp_rt(RTT_QUATER), a = get_tmp_rt(RTT_QUATER), b = get_tmp_rt(RTT_QUATER);
    for (size_t n = 1; n <= 5; ++n) {
        std::vector<cCompLayer> layers;
        for (size_t i = 0; i < n; ++i)
            layers.push_back(cCompLayer{pictures[i].get(), modes[i], opacity[i]});
        comp_layers(one.get(), layers);

        fill_target(b.get(), {0, 0, 0, 0});
        for (size_t i = 0; i < n; ++i) {
            comp(a.get(), pictures[i].get(), b.get(), modes[i], opacity[i]);
            std::swap(a, b);
        }
        // One byte of rounding a chained step at most.
        EXPECT_LE(largest_difference(one.get(), b.get()), int(n)) << n << " layers";
    }
}

TEST_F(FusedPassTest, LayersComposedOntoTheBoundTargetAddTheGlowAsTheSpillDoes)
{
    cTmpRT p = get_tmp_rt(RTT_QUATER), q = get_tmp_rt(RTT_QUATER), glow = get_tmp_rt(RTT_QUATER);
    paint_busy(p.get(), 1);
    paint_busy(q.get(), 2);
    paint_busy(glow.get(), 3);
    const std::vector<cCompLayer> layers = {{p.get(), COMP_OVER, 1.f}, {q.get(), COMP_SCREEN, 0.5f}};
    cTmpRT drawn = get_tmp_rt(RTT_QUATER), composed = get_tmp_rt(RTT_QUATER), spilled = get_tmp_rt(RTT_QUATER);
    drawn->bind(false);
    comp_layers_spill(layers, glow.get());
    drawn->unbind();
    comp_layers(composed.get(), layers);
    spill_into(spilled.get(), composed.get(), glow.get());
    EXPECT_LE(largest_difference(drawn.get(), spilled.get()), 1);

    // Without a glow nothing is added.
    drawn->bind(false);
    comp_layers_spill(layers, nullptr);
    drawn->unbind();
    EXPECT_EQ(largest_difference(drawn.get(), composed.get()), 0);
}

TEST_F(FusedPassTest, ChainedPerPixelPassesInOneProgramEqualTheChain)
{
    cTmpRT src = get_tmp_rt(RTT_QUATER), one = get_tmp_rt(RTT_QUATER);
    cTmpRT t = get_tmp_rt(RTT_QUATER), u = get_tmp_rt(RTT_QUATER), v = get_tmp_rt(RTT_QUATER);
    paint_busy(src.get(), 4);
    const cLevelsParams levels{30.f, 220.f, 1.4f, 10.f, 245.f};
    const cHSBParams colour{40.f, -30.f, 8.f};
    // Waves wide enough to move pixels by fractions and across edges.
    const cSineNoiseParams noise{{6.f, 3.f, 1.5f, 0.f}, {0.1f, 0.4f, 0.7f, 0.f}, 2.f, 180.f, {1, 2, 3, 0}, 0.5f,
                                 RTT_QUATER};

    struct Case {
        const char* name;
        std::function<void()> fused, chain;  // chain's picture in v
        int tolerance;  // the largest difference of a channel, or with
        bool onAverage;  // the mean's
    };
    const Case cases[] = {
        {"levels and colour", [&] { levels_hsb_into(one.get(), src.get(), levels, colour); },
         [&] {
             levels_into(t.get(), src.get(), levels);
             hsb_into(v.get(), t.get(), colour);
         },
         2, false},
        {"displacement and levels", [&] { sinenoise_levels_into(one.get(), src.get(), noise, levels); },
         [&] {
             sinenoise_into(t.get(), src.get(), noise);
             levels_into(v.get(), t.get(), levels);
         },
         2, false},
        {"smeared rows dodged", [&] { horz_smear_comp(one.get(), src.get(), src.get(), COMP_DODGE, 1.f); },
         [&] {
             horz_smear_into(t.get(), src.get());
             comp(v.get(), t.get(), src.get(), COMP_DODGE, 1.f);
         },
         1, false},
        {"smeared rows dodged and displaced",
         [&] { horz_smear_dodge_sinenoise_into(one.get(), src.get(), noise); },
         [&] {
             horz_smear_into(t.get(), src.get());
             comp(u.get(), t.get(), src.get(), COMP_DODGE, 1.f);
             sinenoise_into(v.get(), u.get(), noise);
         },
         // Read between two texels, a dodge that saturates on one side
         // differs from the mix of the two dodged: only at such edges.
         1, true},
    };
    for (const Case& c : cases) {
        c.fused();
        c.chain();
        EXPECT_LE(difference(one.get(), v.get(), c.onAverage), double(c.tolerance)) << c.name;
    }
}

TEST_F(FusedPassTest, RaysReadWhereTheyAreLaidEqualTheMagnifiedRays)
{
    cTmpRT src = get_tmp_rt(RTT_HALF), under = get_tmp_rt(RTT_HALF);
    paint_busy(src.get(), 5);
    paint_busy(under.get(), 6);
    const cRadialBlurParams rays{160.f, 90.f, 60.f, 12.f, 0.9f, 1.f, RTT_QUATER};
    cTmpRT one = get_tmp_rt(RTT_HALF), big = get_tmp_rt(RTT_HALF), two = get_tmp_rt(RTT_HALF);
    {
        cTmpRT small = radialblur_rays(src.get(), rays);
        comp(one.get(), small.get(), under.get(), COMP_OVER, 1.f);
    }
    radialblur_into(big.get(), src.get(), rays);
    comp(two.get(), big.get(), under.get(), COMP_OVER, 1.f);
    EXPECT_LE(largest_difference(one.get(), two.get()), 1);
}
