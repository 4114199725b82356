// The menu icon as a desktop shows it: a rounded tile, clear beyond its
// corners, the paper-white letter in the middle, at any size asked for.
#include <gtest/gtest.h>

#include <FreeImage.h>

#include "assets/icon.h"
#include "support/shader_setup.h"

TEST(Icon, RoundedTileClearCornersAndTheLetterInTheMiddleAtEverySize)
{
    TempDir dir;
    for (int size : {16, 48, 256}) {
        const std::string path = dir.path + "/icons/morvane" + std::to_string(size) + ".png";
        ASSERT_TRUE(draw_icon(path, size)) << size;
        FIBITMAP* image = FreeImage_Load(FIF_PNG, path.c_str());
        ASSERT_TRUE(image) << path;
        EXPECT_EQ(int(FreeImage_GetWidth(image)), size);
        EXPECT_EQ(FreeImage_GetBPP(image), 32u);
        auto at = [&](int x, int y) {
            RGBQUAD q;
            FreeImage_GetPixelColor(image, unsigned(x), unsigned(size - 1 - y), &q);
            return q;
        };
        EXPECT_EQ(at(0, 0).rgbReserved, 0) << size << ": the corner lies outside the tile";
        EXPECT_EQ(at(size / 2, size / 12).rgbReserved, 255) << size << ": the tile's top edge";
        // Between the strokes of the M, left of the middle: paper white.
        int paper = 0;
        for (int x = size / 4; x < size * 3 / 4; ++x)
            paper += at(x, size * 3 / 5).rgbRed > 200;
        EXPECT_GT(paper, size / 16) << size;
        FreeImage_Unload(image);
    }
    EXPECT_FALSE(draw_icon(dir.path + "/big.png", 2048));
    EXPECT_FALSE(draw_icon("/proc/no-such-dir/icon.png", 64));
}
