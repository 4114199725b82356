#include "assets/bake_images.h"

#include <FreeImage.h>

#include <cmath>
#include <iostream>

#include "assets/bake_files.h"
#include "assets/ink.h"
#include "assets/typeface.h"
#include "gui/font_layout.h"
#include "scenes/show_assets.h"

namespace {
// Sets pixel (x, y) (y = 0 at the bottom) of a 24- or 32-bit image.
void put(FIBITMAP* image, int x, int y, int r, int g, int b, int a = 255)
{
    const int bpp = int(FreeImage_GetBPP(image)) / 8;
    BYTE* p = FreeImage_GetScanLine(image, y) + x * bpp;
    p[FI_RGBA_RED] = BYTE(r);
    p[FI_RGBA_GREEN] = BYTE(g);
    p[FI_RGBA_BLUE] = BYTE(b);
    if (bpp == 4)
        p[FI_RGBA_ALPHA] = BYTE(a);
}

int clamp255(double v)
{
    return v < 0 ? 0 : v > 255 ? 255 : int(v + 0.5);
}

}  // namespace

bool bake_loadscreen(const std::string& dataDir)
{
    const int W = 1280, H = 720;
    FIBITMAP* image = FreeImage_Allocate(W, H, 24);
    if (!image)
        return false;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const double dx = x - W / 2.0, dy = y - H / 2.0;
            const double d = std::sqrt(dx * dx + dy * dy);
            const double ring = 0.5 + 0.5 * std::cos(d / 18.0);
            const double fall = std::exp(-d / 520.0);
            put(image, x, y, clamp255(255 * fall * (0.55 + 0.35 * ring)), clamp255(255 * fall * (0.35 + 0.25 * ring)),
                clamp255(255 * fall * (0.75 + 0.25 * ring)));
        }
    }
    // The lettering, from the show's typefaces, laid over the rings in
    // white (the title) and warm light ("loading").
    Typeface display, text;
    if (!display.open(TITLE_FACE) || !text.open(TEXT_FACE)) {
        FreeImage_Unload(image);
        return false;
    }
    Ink title(W, H), sub(W, H);
    const int px = 150;
    display.draw(title, "MORVANE", (W - display.measure("MORVANE", px, 8.f)) / 2.f, H / 2.f + 40.f, px, 8.f);
    text.draw(sub, "loading", (W - text.measure("loading", 40, 6.f)) / 2.f, H / 2.f + 130.f, 40, 6.f);
    for (int y = 0; y < H; ++y) {
        BYTE* line = FreeImage_GetScanLine(image, H - 1 - y);
        for (int x = 0; x < W; ++x) {
            BYTE* p = line + x * 3;
            const float a = title.at(x, y), b = sub.at(x, y);
            const float light[3] = {255.f, 255.f, 255.f}, warm[3] = {255.f, 230.f, 200.f};
            const int channel[3] = {FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE};
            for (int c = 0; c < 3; ++c) {
                const float v = float(p[channel[c]]) * (1.f - a) + light[c] * a;
                p[channel[c]] = BYTE(clamp255(v * (1.f - b) + warm[c] * b));
            }
        }
    }
    return save_texture(image, FIF_JPEG, dataDir, show_assets::LOADING_SCREEN, JPEG_QUALITYGOOD);
}

bool bake_checker(const std::string& dataDir)
{
    const int N = 64, CELL = 8;
    FIBITMAP* image = FreeImage_Allocate(N, N, 24);
    if (!image)
        return false;
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const int v = ((x / CELL) + (y / CELL)) % 2 ? 96 : 160;
            put(image, x, y, v, v, v);
        }
    return save_texture(image, FIF_JPEG, dataDir, show_assets::SCENE_BACKDROP, JPEG_QUALITYSUPERB);
}

bool bake_font(const std::string& dataDir)
{
    FIBITMAP* image = FreeImage_Allocate(FONT_IMAGE_WIDTH, FONT_IMAGE_HEIGHT, 32);
    if (!image)
        return false;
    for (int y = 0; y < FONT_IMAGE_HEIGHT; ++y)
        for (int x = 0; x < FONT_IMAGE_WIDTH; ++x)
            put(image, x, y, 255, 255, 255, 0);
    // Each glyph from a bold monospace face, centred in its 20 x 20 cell on
    // a baseline 5 texels above the cell's bottom, with a margin so that
    // neighbouring cells never bleed into each other under linear filtering.
    Typeface face;
    if (!face.open(CELL_FACE)) {
        FreeImage_Unload(image);
        return false;
    }
    Ink glyphs(FONT_IMAGE_WIDTH, FONT_IMAGE_HEIGHT);  // row 0 at the top
    const int px = 16;
    for (int code = 33; code < 127; ++code) {
        const char c = char(code);
        int s = 0, t = 0;
        if (!font_cell(c, s, t))
            continue;
        Ink cell(FONT_CELL, FONT_CELL);
        const std::string one(1, c);
        face.draw(cell, one, (FONT_CELL - face.measure(one, px)) / 2.f, FONT_CELL - 5.f, px);
        // Only the cell's inner 18 x 18 texels take ink.
        for (int y = 1; y < FONT_CELL - 1; ++y)
            for (int x = 1; x < FONT_CELL - 1; ++x)
                glyphs.mark(s + x, FONT_IMAGE_HEIGHT - t - FONT_CELL + y, cell.at(x, y));
    }
    for (int y = 0; y < FONT_IMAGE_HEIGHT; ++y)
        for (int x = 0; x < FONT_IMAGE_WIDTH; ++x)
            put(image, x, FONT_IMAGE_HEIGHT - 1 - y, 255, 255, 255, clamp255(255.0 * glyphs.at(x, y)));
    return save_texture(image, FIF_PNG, dataDir, show_assets::PANEL_FONT, PNG_DEFAULT);
}
