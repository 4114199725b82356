#include "bake_images.h"

#include <FreeImage.h>
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <iostream>

#include "font5x7.h"
#include "gui/font_layout.h"

namespace {
bool make_dirs(const std::string& path)
{
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
                std::cerr << "## ERROR: cannot create directory " << part << ": " << std::strerror(errno)
                          << std::endl;
                return false;
            }
        }
    }
    return true;
}

bool save(FIBITMAP* image, FREE_IMAGE_FORMAT format, const std::string& dataDir, const char* name, int flags)
{
    const std::string dir = dataDir + "/textures";
    bool ok = image && make_dirs(dir);
    const std::string path = dir + "/" + name;
    if (ok && !FreeImage_Save(format, image, path.c_str(), flags)) {
        std::cerr << "## ERROR: cannot write " << path << std::endl;
        ok = false;
    }
    if (image)
        FreeImage_Unload(image);
    return ok;
}

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

// Writes text with the 5x7 font, each font pixel a scale x scale block,
// top-left corner of the text at (x, top) (y counted from the bottom).
void stamp_text(FIBITMAP* image, const char* text, int x, int top, int scale, int r, int g, int b)
{
    for (int i = 0; text[i]; ++i) {
        const char* const* rows = glyph5x7(text[i]);
        if (!rows)
            continue;
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (rows[row][col] == '#')
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx)
                            put(image, x + (i * 6 + col) * scale + dx, top - row * scale - dy, r, g, b);
    }
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
    const int scale = 12;
    const char* title = "MORVANE";
    const int width = (7 * 6 - 1) * scale;
    stamp_text(image, title, (W - width) / 2, H / 2 + 3 * scale, scale, 255, 255, 255);
    const char* sub = "loading";
    const int subScale = 4;
    stamp_text(image, sub, (W - (7 * 6 - 1) * subScale) / 2, H / 2 - 7 * scale, subScale, 255, 230, 200);
    return save(image, FIF_JPEG, dataDir, "loadscreen.jpg", JPEG_QUALITYGOOD);
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
    return save(image, FIF_JPEG, dataDir, "checker.jpg", JPEG_QUALITYSUPERB);
}

bool bake_font(const std::string& dataDir)
{
    FIBITMAP* image = FreeImage_Allocate(FONT_IMAGE_WIDTH, FONT_IMAGE_HEIGHT, 32);
    if (!image)
        return false;
    for (int y = 0; y < FONT_IMAGE_HEIGHT; ++y)
        for (int x = 0; x < FONT_IMAGE_WIDTH; ++x)
            put(image, x, y, 255, 255, 255, 0);
    // Each glyph: font pixels of 2 x 2 texels, one extra texel to the right
    // for weight, inside its 20 x 20 cell with a margin so that neighbouring
    // cells never bleed into each other under linear filtering.
    const int scale = 2, left = 4, top = 16;
    for (int code = 32; code < 127; ++code) {
        const char c = char(code);
        int s = 0, t = 0;
        const char* const* rows = glyph5x7(c);
        if (!rows || !font_cell(c, s, t))
            continue;
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (rows[row][col] == '#')
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx <= scale; ++dx)
                            put(image, s + left + col * scale + dx, t + top - row * scale - dy, 255, 255, 255, 255);
    }
    return save(image, FIF_PNG, dataDir, "fontlist.png", PNG_DEFAULT);
}
