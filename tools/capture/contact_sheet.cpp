#include "capture/contact_sheet.h"

#include <algorithm>
#include <cmath>

#include "wendit/font5x7.h"

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
    m_pixels.resize(size_t(m_width) * m_height * 4);
    for (size_t p = 0; p < m_pixels.size(); p += 4) {
        m_pixels[p] = BACKGROUND[2];
        m_pixels[p + 1] = BACKGROUND[1];
        m_pixels[p + 2] = BACKGROUND[0];
        m_pixels[p + 3] = 255;
    }
}

void cContactSheet::cell_origin(int i, int& x, int& y) const
{
    x = GAP + (i % m_cols) * (THUMB_W + GAP);
    y = GAP + (i / m_cols) * (THUMB_H + LABEL_H + GAP);
}

void cContactSheet::put(int x, int y, const uint8_t rgb[3])
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    uint8_t* p = &m_pixels[(size_t(m_height - 1 - y) * m_width + x) * 4];
    p[0] = rgb[2];
    p[1] = rgb[1];
    p[2] = rgb[0];
}

void cContactSheet::text(int x, int y, const std::string& s, int scale, const uint8_t rgb[3], size_t maxChars)
{
    for (size_t i = 0; i < s.size() && i < maxChars; ++i) {
        const char* const* rows = glyph5x7(s[i]);
        if (!rows)
            continue;
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (rows[row][col] == '#')
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx)
                            put(x + (int(i) * 6 + col) * scale + dx, y + row * scale + dy, rgb);
    }
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
            const uint8_t rgb[3] = {uint8_t(sum[2] / n), uint8_t(sum[1] / n), uint8_t(sum[0] / n)};
            put(x0 + tx, y0 + ty, rgb);
        }
    }
    text(x0, y0 + THUMB_H + 5, timeCode, 2, TIME_INK, THUMB_W / 12);
    const size_t chars = THUMB_W / 6;
    const std::vector<std::string> lines = wrap(names, chars, 2);
    for (size_t l = 0; l < lines.size(); ++l)
        text(x0, y0 + THUMB_H + 24 + int(l) * 10, lines[l], 1, NAME_INK, chars);
}
