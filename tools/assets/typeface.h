#pragma once
// Lettering from a real typeface: FreeType reads the face and lays the
// letters out (advances, kerning, tracking); Cairo draws the glyphs, on
// any Cairo context in its current source, or as ink coverage. The faces
// are Debian font packages (see scripts/install_deps.sh).
#include <cairo.h>

#include <string>
#include <vector>

#include "assets/ink.h"

// Where the baked art takes its letters from.
extern const char* const TITLE_FACE;  // a heavy geometric sans, for the title and the big lines
extern const char* const TEXT_FACE;   // a sturdy book sans, for small lines
extern const char* const CELL_FACE;   // a bold monospace, for the panel's font cells

typedef struct _cairo_font_face cairo_font_face_t;

// A Cairo font face for the font file at `path`; its FreeType handles go
// when Cairo lets the face go. Null when the file cannot be opened.
cairo_font_face_t* cairo_face_for(const std::string& path);

class Typeface {
public:
    Typeface() = default;
    ~Typeface();
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    // False with an error line naming the file when it cannot be opened.
    bool open(const std::string& path);
    // Draws text with its baseline at (x, baseline), letters `pixels` high
    // (em size), `tracking` extra pixels between letters; returns the
    // advance (the width drawn).
    float draw(Ink& ink, const std::string& text, float x, float baseline, int pixels, float tracking = 0.f,
               float strength = 1.f);
    // The same on a Cairo context, in its current source and user space.
    float draw(cairo_t* cr, const std::string& text, float x, float baseline, int pixels, float tracking = 0.f);
    // The advance of text without drawing.
    float measure(const std::string& text, int pixels, float tracking = 0.f);
    // The ascent of capitals at that size (height of "H"), in pixels.
    float cap_height(int pixels);

private:
    float layout(std::vector<cairo_glyph_t>* glyphs, const std::string& text, float x, float baseline, int pixels, float tracking);
    // The layout's own face (its size changes with every call) and the one
    // Cairo draws with (Cairo keeps track of the size it set on it, so
    // nothing else may change it).
    void* m_library = nullptr;
    void* m_face = nullptr;
    cairo_font_face_t* m_drawn = nullptr;
};
