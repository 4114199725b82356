// The film grain: built from the shared random table, invisible at
// strength 0, mean-preserving at a low strength, moving every frame.
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cmath>

#include "render/cRenderTargetManager.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "scenes/cNoiseOverlay.h"
#include "support/shader_setup.h"
#include "util/random_table.h"

namespace {
double mean(const std::vector<Rgba>& pixels)
{
    double sum = 0;
    for (const Rgba& p : pixels)
        sum += p.r + p.g + p.b;
    return sum / (3.0 * double(pixels.size()));
}

// The grain over a flat grey target of the full size, as the composition
// lays it over its picture.
std::vector<Rgba> grain_over_grey(float strength)
{
    cTmpRT src = get_tmp_rt(RTT_FULL), dst = get_tmp_rt(RTT_FULL);
    fill_target(src.get(), {128, 128, 128, 255});
    dst->bind(true);
    overlay(src.get(), get_noise_overlay(), 1.5f, strength);
    dst->unbind();
    return read_target(dst.get());
}
}  // namespace

TEST_F(GLTest, NoiseOverlayTextureComesFromTheSharedTable)
{
    set_random_cursor(0);
    const float* table = random_table();
    cNoiseOverlay noise;
    noise.init();
    EXPECT_EQ(random_cursor(), 3u * 128u * 128u);
    std::vector<unsigned char> texels(128 * 128 * 4);
    glBindTexture(GL_TEXTURE_2D, noise.texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    // Texel i takes entries 3i+1 .. 3i+3 (the cursor moves before reading).
    for (size_t i : {size_t(0), size_t(1), size_t(777), size_t(16383)}) {
        EXPECT_EQ(texels[i * 4 + 0], int(table[3 * i + 1] * 255.f)) << i;
        EXPECT_EQ(texels[i * 4 + 1], int(table[3 * i + 2] * 255.f)) << i;
        EXPECT_EQ(texels[i * 4 + 2], int(table[3 * i + 3] * 255.f)) << i;
        EXPECT_EQ(texels[i * 4 + 3], 255);
    }
    glDeleteTextures(1, &noise.texture);
    EXPECT_NEAR(cNoiseOverlay::repeat_factor(1.5f, 1024), 1024.f / (1.5f * 128.f), 1e-4);
}

TEST_F(GLTest, NoiseOverlayAtStrengthZeroChangesNothingAndAtATenthKeepsTheMean)
{
    for (const Rgba& p : grain_over_grey(0.f))
        ASSERT_TRUE(near_rgba(p, {128, 128, 128, 255}, 0));

    const size_t cursor = random_cursor();
    auto grained = grain_over_grey(0.1f);
    EXPECT_EQ(random_cursor(), (cursor + 4) % RANDOM_TABLE_SIZE);
    EXPECT_NEAR(mean(grained), 128.0, 1.28);
    int changed = 0;
    for (const Rgba& p : grained)
        changed += p.r != 128;
    EXPECT_GT(changed, int(grained.size() / 4)) << "no grain to be seen";

    // The next frame draws other offsets: the grain moves.
    auto next = grain_over_grey(0.1f);
    int moved = 0;
    for (size_t i = 0; i < next.size(); ++i)
        moved += next[i].r != grained[i].r;
    EXPECT_GT(moved, int(next.size() / 4));
}

TEST_F(GLTest, NoiseOverlayDrawKeepsBlendingAndEnablesAsTheyWere)
{
    cNoiseOverlay* noise = get_noise_overlay();
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    const GLStateSnapshot before = snapshot_gl_state();
    {
        cPassState quad(flat_2d());
        noise->draw(0.f, 0.f, 1.f, 1.f, 1280, 1280.f / 720.f, 1.f, 0.1f);
    }
    EXPECT_TRUE(snapshot_gl_state() == before) << snapshot_gl_state().describe() << "\n" << before.describe();
    GLint src = 0, dst = 0, equation = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    glGetIntegerv(GL_BLEND_EQUATION, &equation);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(equation, GL_FUNC_ADD);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_ONE, GL_ZERO);
}
