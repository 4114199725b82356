#pragma once
// The project's faces for Cairo: League Spartan for headings, DejaVu Sans
// for labels, each opened through FreeType and handed to Cairo as a font
// face.
#include <string>

typedef struct _cairo_font_face cairo_font_face_t;

class PlotFonts {
public:
    PlotFonts() = default;
    ~PlotFonts();
    PlotFonts(const PlotFonts&) = delete;
    PlotFonts& operator=(const PlotFonts&) = delete;

    // False with a line naming the font file that cannot be opened.
    bool open(std::string& error);

    cairo_font_face_t* heading = nullptr;  // League Spartan Black
    cairo_font_face_t* label = nullptr;    // DejaVu Sans
    cairo_font_face_t* bold = nullptr;     // DejaVu Sans Bold
};
