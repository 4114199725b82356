#pragma once
// Lettering from a real typeface through FreeType: text rendered as ink
// coverage. The faces are Debian font packages (see scripts/install_deps.sh).
#include <string>

#include "assets/ink.h"

// Where the baked art takes its letters from.
extern const char* const TITLE_FACE;  // a heavy geometric sans, for the title and the big lines
extern const char* const TEXT_FACE;   // a sturdy book sans, for small lines
extern const char* const CELL_FACE;   // a bold monospace, for the panel's font cells

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
    // The advance of text without drawing.
    float measure(const std::string& text, int pixels, float tracking = 0.f);
    // The ascent of capitals at that size (height of "H"), in pixels.
    float cap_height(int pixels);

private:
    float run(Ink* ink, const std::string& text, float x, float baseline, int pixels, float tracking, float strength);
    void* m_library = nullptr;
    void* m_face = nullptr;
};
