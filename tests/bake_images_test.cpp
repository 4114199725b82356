// The baked images: the same bytes on every bake, and a font image laid out
// the way the panel reads it.
#include <FreeImage.h>
#include <gtest/gtest.h>


#include "gui/font_layout.h"
#include "support/show_run.h"
#include "support/run_tool.h"

namespace {
// Inked texels (alpha > 128) in rows t .. t + rows - 1 of the cell at s;
// t counted from the bottom row.
int ink(FIBITMAP* font, int s, int t, int rows = FONT_CELL)
{
    int count = 0;
    for (int y = t; y < t + rows; ++y) {
        const BYTE* line = FreeImage_GetScanLine(font, y);
        for (int x = s; x < s + FONT_CELL; ++x)
            count += line[x * 4 + FI_RGBA_ALPHA] > 128;
    }
    return count;
}
}  // namespace

TEST(BakedImages, BakingTwiceGivesTheSameBytes)
{
    DataTree a("s00 00:00:00,000\n"), b("s00 00:00:00,000\n");
    for (const char* name : {"loadscreen.jpg", "checker.jpg", "fontlist.png", "fs_vign.jpg"}) {
        const std::string first = read_whole_file(a.data() + "/textures/" + name);
        EXPECT_FALSE(first.empty()) << name;
        EXPECT_EQ(first, read_whole_file(b.data() + "/textures/" + name)) << name;
    }
}

TEST(BakedImages, FontCellsHoldTheirGlyphsAndNothingElse)
{
    DataTree tree("s00 00:00:00,000\n");
    const std::string path = tree.data() + "/textures/fontlist.png";
    FIBITMAP* font = FreeImage_Load(FIF_PNG, path.c_str(), 0);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(int(FreeImage_GetWidth(font)), FONT_IMAGE_WIDTH);
    EXPECT_EQ(int(FreeImage_GetHeight(font)), FONT_IMAGE_HEIGHT);
    ASSERT_EQ(FreeImage_GetBPP(font), 32u);
    for (char c : std::string("AZaz09-.:,()")) {
        int s = 0, t = 0;
        ASSERT_TRUE(font_cell(c, s, t));
        EXPECT_GT(ink(font, s, t), 4) << "'" << c << "' has a glyph";
    }
    // Cells no character uses stay empty.
    EXPECT_EQ(ink(font, 0, 0), 0);
    EXPECT_EQ(ink(font, 140, 0), 0);
    // 'I' is narrower than 'M'; '.' sits low in its cell.
    int s, t;
    font_cell('I', s, t);
    const int inkI = ink(font, s, t);
    font_cell('M', s, t);
    EXPECT_LT(inkI, ink(font, s, t));
    font_cell('.', s, t);
    EXPECT_EQ(ink(font, s, t + 10, 10), 0) << "the upper half of '.' is empty";
    EXPECT_GT(ink(font, s, t, 10), 0);
    FreeImage_Unload(font);
}

TEST(BakedImages, VignetteIsWhiteInTheMiddleAndDarkensSmoothlyIntoTheCorners)
{
    DataTree tree("s00 00:00:00,000\n");
    const std::string path = tree.data() + "/textures/fs_vign.jpg";
    FIBITMAP* v = FreeImage_Load(FIF_JPEG, path.c_str(), 0);
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(FreeImage_GetWidth(v), 512u) << "power-of-two sides: sampled with 0..1 coordinates";
    ASSERT_EQ(FreeImage_GetHeight(v), 512u);
    auto grey = [&](int x, int y) {
        RGBQUAD c;
        FreeImage_GetPixelColor(v, unsigned(x), unsigned(y), &c);
        return int(c.rgbGreen);
    };
    EXPECT_GE(grey(256, 256), 250);
    // Along the diagonal towards each corner: never brighter, with no step
    // bigger than a smooth fall gives, and dark at the end.
    for (int cx : {0, 511})
        for (int cy : {0, 511}) {
            int last = grey(256, 256);
            for (int i = 1; i <= 32; ++i) {
                const int g = grey(256 + (cx - 256) * i / 32, 256 + (cy - 256) * i / 32);
                EXPECT_LE(g, last + 3) << "corner " << cx << "," << cy << " step " << i;
                EXPECT_LE(last - g, 20) << "corner " << cx << "," << cy << " step " << i;
                last = g;
            }
            EXPECT_LT(last, 80);
        }
    FreeImage_Unload(v);
}
