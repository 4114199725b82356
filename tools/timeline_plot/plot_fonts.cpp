#include "timeline_plot/plot_fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <cairo-ft.h>
#include <cairo.h>

#include "assets/typeface.h"

namespace {
const char* const LABEL_FACE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Cairo may keep a face in its caches after the last reference is dropped:
// each face has a FreeType library of its own, closed with the face when
// Cairo lets go of it.
struct OwnedFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};
const cairo_user_data_key_t OWNED_FACE_KEY = {};

void close_face(void* p)
{
    auto* owned = static_cast<OwnedFace*>(p);
    FT_Done_Face(owned->face);
    FT_Done_FreeType(owned->library);
    delete owned;
}

cairo_font_face_t* open_face(const char* path, std::string& error)
{
    auto* owned = new OwnedFace;
    if (FT_Init_FreeType(&owned->library) != 0) {
        delete owned;
        error = "FreeType cannot start";
        return nullptr;
    }
    if (FT_New_Face(owned->library, path, 0, &owned->face) != 0) {
        FT_Done_FreeType(owned->library);
        delete owned;
        const bool spartan = std::string(path).find("league-spartan") != std::string::npos;
        error = std::string("cannot open the font ") + path + " (Debian package " +
                (spartan ? "fonts-league-spartan" : "fonts-dejavu-core") + ")";
        return nullptr;
    }
    cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(owned->face, 0);
    if (cairo_font_face_set_user_data(face, &OWNED_FACE_KEY, owned, close_face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        close_face(owned);
        error = std::string("Cairo cannot take the font ") + path;
        return nullptr;
    }
    return face;
}
}  // namespace

PlotFonts::~PlotFonts()
{
    for (cairo_font_face_t* f : {heading, label, bold})
        if (f)
            cairo_font_face_destroy(f);
}

bool PlotFonts::open(std::string& error)
{
    heading = open_face(TITLE_FACE, error);
    if (heading)
        label = open_face(LABEL_FACE, error);
    if (label)
        bold = open_face(TEXT_FACE, error);
    return bold != nullptr;
}
