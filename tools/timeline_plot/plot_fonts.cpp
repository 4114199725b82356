#include "timeline_plot/plot_fonts.h"

#include <cairo.h>

#include "assets/typeface.h"

namespace {
const char* const LABEL_FACE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

cairo_font_face_t* open_face(const char* path, std::string& error)
{
    cairo_font_face_t* face = cairo_face_for(path);
    if (!face) {
        const bool spartan = std::string(path).find("league-spartan") != std::string::npos;
        error = std::string("cannot open the font ") + path + " (Debian package " +
                (spartan ? "fonts-league-spartan" : "fonts-dejavu-core") + ")";
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
