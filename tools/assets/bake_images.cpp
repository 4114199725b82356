#include "assets/bake_images.h"

#include <FreeImage.h>

#include <cmath>
#include <cstdint>
#include <iostream>

#include "assets/bake_files.h"
#include "assets/cairo_canvas.h"
#include "assets/typeface.h"
#include "gui/font_layout.h"
#include "scenes/show_assets.h"

namespace {
int clamp255(double v)
{
    return v < 0 ? 0 : v > 255 ? 255 : int(v + 0.5);
}
}  // namespace

bool bake_loadscreen(const std::string& dataDir)
{
    const int W = 1280, H = 720;
    // The lettering, from the show's typefaces, over the rings: the title
    // in white, "loading" in warm light.
    Typeface display, text;
    if (!display.open(TITLE_FACE) || !text.open(TEXT_FACE))
        return false;
    CairoCanvas screen(CAIRO_FORMAT_RGB24, W, H);
    if (!screen.ok())
        return false;
    // The rings: light falling off from the middle, rippled.
    unsigned char* pixels = screen.pixels_for_writing();
    for (int y = 0; y < H; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(pixels + size_t(y) * size_t(screen.stride()));
        for (int x = 0; x < W; ++x) {
            // Measured from the bottom row up, as the rings were first laid out.
            const double dx = x - W / 2.0, dy = (H - 1 - y) - H / 2.0;
            const double d = std::sqrt(dx * dx + dy * dy);
            const double ring = 0.5 + 0.5 * std::cos(d / 18.0);
            const double fall = std::exp(-d / 520.0);
            row[x] = uint32_t(clamp255(255 * fall * (0.55 + 0.35 * ring))) << 16 |
                     uint32_t(clamp255(255 * fall * (0.35 + 0.25 * ring))) << 8 |
                     uint32_t(clamp255(255 * fall * (0.75 + 0.25 * ring)));
        }
    }
    screen.pixels_written();
    cairo_t* cr = screen.cr();
    const int px = 150;
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    display.draw(cr, "MORVANE", (W - display.measure("MORVANE", px, 8.f)) / 2.f, H / 2.f + 40.f, px, 8.f);
    cairo_set_source_rgb(cr, 1.0, 230 / 255.0, 200 / 255.0);
    text.draw(cr, "loading", (W - text.measure("loading", 40, 6.f)) / 2.f, H / 2.f + 130.f, 40, 6.f);
    return save_texture(image_of(screen), FIF_JPEG, dataDir, show_assets::LOADING_SCREEN, JPEG_QUALITYGOOD);
}

bool bake_checker(const std::string& dataDir)
{
    const int N = 64, CELL = 8;
    CairoCanvas checker(CAIRO_FORMAT_RGB24, N, N);
    cairo_t* cr = checker.cr();
    cairo_set_source_rgb(cr, 160 / 255.0, 160 / 255.0, 160 / 255.0);
    cairo_paint(cr);
    // The darker squares: the top-left one and every other from it.
    for (int j = 0; j < N / CELL; ++j)
        for (int i = (j % 2); i < N / CELL; i += 2)
            cairo_rectangle(cr, i * CELL, j * CELL, CELL, CELL);
    cairo_set_source_rgb(cr, 96 / 255.0, 96 / 255.0, 96 / 255.0);
    cairo_fill(cr);
    return save_texture(image_of(checker), FIF_JPEG, dataDir, show_assets::SCENE_BACKDROP, JPEG_QUALITYSUPERB);
}

bool bake_font(const std::string& dataDir)
{
    // Each glyph from a bold monospace face, centred in its 20 x 20 cell on
    // a baseline 5 texels above the cell's bottom, with a margin so that
    // neighbouring cells never bleed into each other under linear filtering:
    // only the cell's inner 18 x 18 texels take ink. White, the glyphs'
    // coverage as alpha.
    Typeface face;
    if (!face.open(CELL_FACE))
        return false;
    CairoCanvas glyphs(CAIRO_FORMAT_A8, FONT_IMAGE_WIDTH, FONT_IMAGE_HEIGHT);  // row 0 at the top
    cairo_t* cr = glyphs.cr();
    const int px = 16;
    for (int code = 33; code < 127; ++code) {
        const char c = char(code);
        int s = 0, t = 0;
        if (!font_cell(c, s, t))
            continue;
        // The cell's top row, counted from the image's top (t counts from its bottom).
        const int top = FONT_IMAGE_HEIGHT - t - FONT_CELL;
        const std::string one(1, c);
        cairo_save(cr);
        cairo_rectangle(cr, s + 1, top + 1, FONT_CELL - 2, FONT_CELL - 2);
        cairo_clip(cr);
        face.draw(cr, one, float(s) + (FONT_CELL - face.measure(one, px)) / 2.f, float(top) + FONT_CELL - 5.f, px);
        cairo_restore(cr);
    }
    return save_texture(image_of(glyphs), FIF_PNG, dataDir, show_assets::PANEL_FONT, PNG_DEFAULT);
}
