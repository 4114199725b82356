#pragma once
// A contact sheet: thumbnails of the show in a grid, each labelled with its
// time code and the names of the layers on screen then, lettered by Cairo
// in the monospace face. No GL, so the layout can be checked on its own.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CairoCanvas;
class Typeface;

class cContactSheet {
public:
    static constexpr int THUMB_W = 320, THUMB_H = 180;
    static constexpr int GAP = 12;      // around and between cells
    static constexpr int LABEL_H = 44;  // under each thumbnail
    static const uint8_t BACKGROUND[3];  // RGB

    explicit cContactSheet(int count);
    ~cContactSheet();
    int columns() const { return m_cols; }
    int rows() const { return m_rows; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Top-left corner of cell i's thumbnail, from the sheet's top.
    void cell_origin(int i, int& x, int& y) const;

    // Cell i: a picture of w x h BGRA pixels, bottom row first (as GL reads
    // them), reduced to the thumbnail by averaging boxes; and its label.
    void place(int i, const uint8_t* bgra, int w, int h, const std::string& timeCode, const std::string& names);
    // The sheet as BGRA, bottom row first (what write_png_bgra takes).
    std::vector<uint8_t> pixels() const;
    // Writes the sheet as PNG (under PATH.part, renamed when complete);
    // false with `error` naming the file otherwise.
    bool write_png(const std::string& path, std::string& error) const;
    // Writes text in the monospace face, top-left at (x, y), letters
    // `pixels` high; at most maxChars characters.
    void text(int x, int y, const std::string& s, int pixels, const uint8_t rgb[3], size_t maxChars);

    // The label's second and third lines: the names wrapped at a " - "
    // separator or a blank to lines of at most `chars` characters.
    static std::vector<std::string> wrap(const std::string& names, size_t chars, size_t lines);

private:
    int m_cols, m_rows, m_width, m_height;
    std::unique_ptr<CairoCanvas> m_sheet;  // opaque, rows top-down
    std::unique_ptr<Typeface> m_face;  // the labels' letters; none when the font is missing
};
