// The horizontal smear on a known picture: every row of the destination is
// the one colour the squeezing passes reduce that row of the source to.
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "post/post.h"
#include "render/cRenderTargetManager.h"
#include "support/shader_setup.h"

namespace {
// Channel c of source pixel (x, y): rows differ, and within a row the
// values vary at every scale the passes average over.
int source_value(int x, int y, int c)
{
    return (x * (3 + c) + y * 29 + (x >> 5) * 17 * (c + 1) + (x >> 8) * 40) & 255;
}

// Four texels into one, rounded to a byte as each pass stores it, while
// four are left; the row's colour is then its first texel.
int reduce_row(int width, int y, int c)
{
    std::vector<int> row(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x)
        row[size_t(x)] = source_value(x, y, c);
    while (row.size() >= 4) {
        std::vector<int> next(row.size() / 4);
        for (size_t j = 0; j < next.size(); ++j)
            next[j] = int(std::lround((row[4 * j] + row[4 * j + 1] + row[4 * j + 2] + row[4 * j + 3]) / 4.0));
        row = next;
    }
    return row[0];
}

GLint min_filter(cRenderTarget_fbo* t)
{
    GLint f = 0;
    glBindTexture(t->texture_target, t->texture);
    glGetTexParameteriv(t->texture_target, GL_TEXTURE_MIN_FILTER, &f);
    glBindTexture(t->texture_target, 0);
    return f;
}

class HorzSmearTest : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        start_shaders();
        get_rendertarget_manager()->demo_time = [] { return 0; };
    }
};
}  // namespace

TEST_F(HorzSmearTest, EveryRowTakesTheColourItsPassesReduceTo)
{
    for (eRTT size : {RTT_FULL, RTT_HALF}) {
        cTmpRT src = get_tmp_rt(size), dst = get_tmp_rt(size);
        const int w = int(src->width), h = int(src->height);
        std::vector<unsigned char> bytes(size_t(w) * size_t(h) * 4);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 4; ++c)
                    bytes[(size_t(y) * size_t(w) + size_t(x)) * 4 + size_t(c)] =
                        (unsigned char)(c == 3 ? 255 : source_value(x, y, c));
        glBindTexture(src->texture_target, src->texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(src->texture_target, 0, 0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
        glBindTexture(src->texture_target, 0);

        testing::internal::CaptureStderr();
        horz_smear_into(dst.get(), src.get());
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

        const auto px = read_target(dst.get());
        for (int y = 0; y < h; ++y) {
            const Rgba first = px[size_t(y) * size_t(w)];
            const Rgba want{reduce_row(w, y, 0), reduce_row(w, y, 1), reduce_row(w, y, 2), 255};
            ASSERT_TRUE(near_rgba(first, want, 2)) << rtt_name(size) << " row " << y;
            for (int x = 1; x < w; ++x)
                ASSERT_TRUE(near_rgba(px[size_t(y) * size_t(w) + size_t(x)], first, 0))
                    << rtt_name(size) << " row " << y << " x " << x;
        }
        EXPECT_EQ(min_filter(src.get()), GL_LINEAR);
        // The temporaries went back to the pool with linear filtering too.
        cTmpRT again = get_tmp_rt(size);
        EXPECT_EQ(min_filter(again.get()), GL_LINEAR);
    }
}
