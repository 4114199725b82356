#include "assets/typeface.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <iostream>

const char* const TITLE_FACE = "/usr/share/fonts/opentype/league-spartan/LeagueSpartan-Black.otf";
const char* const TEXT_FACE = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const CELL_FACE = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";

Typeface::~Typeface()
{
    if (m_face)
        FT_Done_Face(FT_Face(m_face));
    if (m_library)
        FT_Done_FreeType(FT_Library(m_library));
}

bool Typeface::open(const std::string& path)
{
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) {
        std::cerr << "## ERROR: FreeType did not start" << std::endl;
        return false;
    }
    m_library = lib;
    FT_Face face = nullptr;
    if (FT_New_Face(lib, path.c_str(), 0, &face) != 0) {
        std::cerr << "## ERROR: cannot open the typeface " << path
                  << " (install the font packages: scripts/install_deps.sh)" << std::endl;
        return false;
    }
    m_face = face;
    return true;
}

float Typeface::run(Ink* ink, const std::string& text, float x, float baseline, int pixels, float tracking,
                    float strength)
{
    FT_Face face = FT_Face(m_face);
    if (!face)
        return 0.f;
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixels));
    float pen = x;
    FT_UInt previous = 0;
    for (unsigned char c : text) {
        const FT_UInt glyph = FT_Get_Char_Index(face, c);
        if (previous && glyph && FT_HAS_KERNING(face)) {
            FT_Vector k;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &k);
            pen += float(k.x) / 64.f;
        }
        if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0)
            continue;
        const FT_GlyphSlot g = face->glyph;
        if (ink) {
            const int left = int(std::lround(pen)) + g->bitmap_left;
            const int top = int(std::lround(baseline)) - g->bitmap_top;
            for (unsigned row = 0; row < g->bitmap.rows; ++row)
                for (unsigned col = 0; col < g->bitmap.width; ++col) {
                    const unsigned char a = g->bitmap.buffer[row * unsigned(g->bitmap.pitch) + col];
                    if (a)
                        ink->mark(left + int(col), top + int(row), float(a) / 255.f * strength);
                }
        }
        pen += float(g->advance.x) / 64.f + tracking;
        previous = glyph;
    }
    return pen - x;
}

float Typeface::draw(Ink& ink, const std::string& text, float x, float baseline, int pixels, float tracking,
                     float strength)
{
    return run(&ink, text, x, baseline, pixels, tracking, strength);
}

float Typeface::measure(const std::string& text, int pixels, float tracking)
{
    return run(nullptr, text, 0.f, 0.f, pixels, tracking, 1.f);
}

float Typeface::cap_height(int pixels)
{
    FT_Face face = FT_Face(m_face);
    if (!face)
        return 0.f;
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixels));
    if (FT_Load_Char(face, 'H', FT_LOAD_DEFAULT) != 0)
        return float(pixels) * 0.7f;
    return float(face->glyph->metrics.horiBearingY) / 64.f;
}
