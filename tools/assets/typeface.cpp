#include "assets/typeface.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <iostream>
#include <vector>

const char* const TITLE_FACE = "/usr/share/fonts/opentype/league-spartan/LeagueSpartan-Black.otf";
const char* const TEXT_FACE = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const CELL_FACE = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";

namespace {
// The FreeType handles behind Cairo's font face: Cairo may keep the face in
// its font caches after the Typeface is gone, so they go when Cairo lets
// the face go.
struct DrawnFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~DrawnFace()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};
const cairo_user_data_key_t DRAWN_FACE_KEY = {};

void release_drawn_face(void* handles)
{
    delete static_cast<DrawnFace*>(handles);
}
}  // namespace

cairo_font_face_t* cairo_face_for(const std::string& path)
{
    DrawnFace* handles = new DrawnFace;
    if (FT_Init_FreeType(&handles->library) != 0 || FT_New_Face(handles->library, path.c_str(), 0, &handles->face) != 0) {
        delete handles;
        return nullptr;
    }
    cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(handles->face, FT_LOAD_DEFAULT);
    if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS ||
        cairo_font_face_set_user_data(face, &DRAWN_FACE_KEY, handles, release_drawn_face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        delete handles;
        return nullptr;
    }
    return face;
}

Typeface::~Typeface()
{
    if (m_drawn)
        cairo_font_face_destroy(m_drawn);
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
    if (FT_New_Face(lib, path.c_str(), 0, &face) != 0 || !(m_drawn = cairo_face_for(path))) {
        if (face)
            FT_Done_Face(face);
        std::cerr << "## ERROR: cannot open the typeface " << path
                  << " (install the font packages: scripts/install_deps.sh)" << std::endl;
        return false;
    }
    m_face = face;
    return true;
}

float Typeface::layout(std::vector<cairo_glyph_t>* glyphs, const std::string& text, float x, float baseline, int pixels,
                       float tracking)
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
        if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) != 0)
            continue;
        // Each glyph on a whole pixel, as the letters have always stood.
        if (glyphs)
            glyphs->push_back({glyph, std::round(double(pen)), double(baseline)});
        pen += float(face->glyph->advance.x) / 64.f + tracking;
        previous = glyph;
    }
    return pen - x;
}

float Typeface::draw(cairo_t* cr, const std::string& text, float x, float baseline, int pixels, float tracking)
{
    if (!m_drawn || text.empty())
        return 0.f;
    std::vector<cairo_glyph_t> glyphs;
    const float advance = layout(&glyphs, text, x, baseline, pixels, tracking);
    cairo_save(cr);
    cairo_set_font_face(cr, m_drawn);
    cairo_set_font_size(cr, double(pixels));
    cairo_show_glyphs(cr, glyphs.data(), int(glyphs.size()));
    cairo_restore(cr);
    return advance;
}

float Typeface::draw(Ink& ink, const std::string& text, float x, float baseline, int pixels, float tracking,
                     float strength)
{
    float advance = 0.f;
    // Where the letters can reach: an em above and below the baseline.
    const float left = x - float(pixels), width = measure(text, pixels, tracking) + 2.f * float(pixels);
    draw_on_ink(ink, left, baseline - 1.5f * float(pixels), width, 2.5f * float(pixels), strength,
                [&](cairo_t* cr) { advance = draw(cr, text, x, baseline, pixels, tracking); });
    return advance;
}

float Typeface::measure(const std::string& text, int pixels, float tracking)
{
    return layout(nullptr, text, 0.f, 0.f, pixels, tracking);
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
