#include "contact/contact_sheet.h"

#include <algorithm>
#include <cmath>

#include "assets/cairo_canvas.h"
#include "assets/typeface.h"

const uint8_t cContactSheet::BACKGROUND[3] = {22, 22, 26};

namespace {
const uint8_t TIME_INK[3] = {255, 214, 120};
const uint8_t NAME_INK[3] = {205, 210, 220};
}  // namespace

cContactSheet::cContactSheet(int count)
{
    // Roughly as wide as a 16:9 screen holds them: 24 make 6 x 4.
    m_cols = std::max(1, int(std::ceil(std::sqrt(count * 1.5))));
    m_cols = std::min(m_cols, count);
    m_rows = (count + m_cols - 1) / m_cols;
    m_width = GAP + m_cols * (THUMB_W + GAP);
    m_height = GAP + m_rows * (THUMB_H + LABEL_H + GAP);
    m_sheet.reset(new CairoCanvas(CAIRO_FORMAT_RGB24, m_width, m_height));
    cairo_set_source_rgb(m_sheet->cr(), BACKGROUND[0] / 255.0, BACKGROUND[1] / 255.0, BACKGROUND[2] / 255.0);
    cairo_paint(m_sheet->cr());
    m_face.reset(new Typeface);
    if (!m_face->open(CELL_FACE))
        m_face.reset();
}

cContactSheet::~cContactSheet() = default;

void cContactSheet::cell_origin(int i, int& x, int& y) const
{
    x = GAP + (i % m_cols) * (THUMB_W + GAP);
    y = GAP + (i / m_cols) * (THUMB_H + LABEL_H + GAP);
}

std::vector<uint8_t> cContactSheet::pixels() const
{
    std::vector<uint8_t> out(size_t(m_width) * size_t(m_height) * 4, 255);
    if (!m_sheet->ok())
        return out;
    const unsigned char* data = m_sheet->data();
    for (int y = 0; y < m_height; ++y) {
        const unsigned char* row = data + size_t(y) * size_t(m_sheet->stride());
        uint8_t* to = &out[size_t(m_height - 1 - y) * size_t(m_width) * 4];
        for (int x = 0; x < m_width; ++x) {
            to[4 * x] = row[4 * x];
            to[4 * x + 1] = row[4 * x + 1];
            to[4 * x + 2] = row[4 * x + 2];
        }
    }
    return out;
}

bool cContactSheet::write_png(const std::string& path, std::string& error) const
{
    return m_sheet->write_png(path, error);
}

void cContactSheet::text(int x, int y, const std::string& s, int pixels, const uint8_t rgb[3], size_t maxChars)
{
    if (!m_face || s.empty())
        return;
    cairo_t* cr = m_sheet->cr();
    cairo_set_source_rgb(cr, rgb[0] / 255.0, rgb[1] / 255.0, rgb[2] / 255.0);
    m_face->draw(cr, s.substr(0, maxChars), float(x), float(y) + m_face->cap_height(pixels) + 1.f, pixels);
}

std::vector<std::string> cContactSheet::wrap(const std::string& names, size_t chars, size_t lines)
{
    std::vector<std::string> out;
    std::string rest = names;
    while (!rest.empty() && out.size() < lines) {
        if (rest.size() <= chars || out.size() + 1 == lines) {
            out.push_back(rest.substr(0, chars));
            break;
        }
        size_t cut = rest.rfind(" - ", chars);
        size_t skip = 3;
        if (cut == std::string::npos || cut == 0) {
            cut = rest.rfind(' ', chars);
            skip = 1;
        }
        if (cut == std::string::npos || cut == 0) {
            cut = chars;
            skip = 0;
        }
        out.push_back(rest.substr(0, cut));
        rest = rest.substr(std::min(rest.size(), cut + skip));
    }
    return out;
}

void cContactSheet::place(int i, const uint8_t* bgra, int w, int h, const std::string& timeCode,
                          const std::string& names)
{
    int x0, y0;
    cell_origin(i, x0, y0);
    if (!m_sheet->ok() || x0 + THUMB_W > m_width || y0 + THUMB_H > m_height)
        return;
    unsigned char* sheet = m_sheet->pixels_for_writing();
    // Each thumbnail pixel averages the source box it covers.
    for (int ty = 0; ty < THUMB_H; ++ty) {
        const int sy0 = ty * h / THUMB_H, sy1 = std::max(sy0 + 1, (ty + 1) * h / THUMB_H);
        for (int tx = 0; tx < THUMB_W; ++tx) {
            const int sx0 = tx * w / THUMB_W, sx1 = std::max(sx0 + 1, (tx + 1) * w / THUMB_W);
            unsigned sum[3] = {0, 0, 0}, n = 0;
            for (int sy = sy0; sy < sy1; ++sy) {
                // The source's rows run bottom-up; the thumbnail's top-down.
                const uint8_t* row = bgra + size_t(h - 1 - sy) * w * 4;
                for (int sx = sx0; sx < sx1; ++sx, ++n)
                    for (int c = 0; c < 3; ++c)
                        sum[c] += row[sx * 4 + c];
            }
            uint8_t* p = sheet + size_t(y0 + ty) * size_t(m_sheet->stride()) + size_t(x0 + tx) * 4;
            for (int c = 0; c < 3; ++c)
                p[c] = uint8_t(sum[c] / n);
            p[3] = 255;
        }
    }
    m_sheet->pixels_written();
    text(x0, y0 + THUMB_H + 4, timeCode, 18, TIME_INK, THUMB_W / 12);
    const size_t chars = THUMB_W / 6;
    const std::vector<std::string> lines = wrap(names, chars, 2);
    for (size_t l = 0; l < lines.size(); ++l)
        text(x0, y0 + THUMB_H + 24 + int(l) * 10, lines[l], 10, NAME_INK, chars);
}
