#include "capture/profile_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "capture/png_file.h"
#include "assets/typeface.h"

namespace {
constexpr int W = 1600, H = 600, LEFT = 70, RIGHT = 20, TOP = 60, BOTTOM = 40;

struct Canvas {
    std::vector<uint8_t> px = std::vector<uint8_t>(size_t(W) * H * 4, 0);
    Typeface face;
    bool haveFace = face.open(CELL_FACE);
    void set(int x, int y, uint32_t rgb)
    {
        if (x < 0 || y < 0 || x >= W || y >= H)
            return;
        uint8_t* p = &px[(size_t(H - 1 - y) * W + size_t(x)) * 4];  // bottom row first
        p[0] = uint8_t(rgb);
        p[1] = uint8_t(rgb >> 8);
        p[2] = uint8_t(rgb >> 16);
        p[3] = 255;
    }
    void rect(int x0, int y0, int x1, int y1, uint32_t rgb)
    {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                set(x, y, rgb);
    }
    // Text with its top-left corner at (x, y), in the monospace face at
    // 10 * s pixels (as wide per letter as the panel's font cells).
    void text(int x, int y, const std::string& t, uint32_t rgb, int s = 2)
    {
        if (!haveFace || t.empty())
            return;
        const int pixels = 10 * s;
        Ink ink(int(face.measure(t, pixels)) + 2, pixels + pixels / 2);
        face.draw(ink, t, 0.f, face.cap_height(pixels) + 1.f, pixels);
        for (int iy = 0; iy < ink.h; ++iy)
            for (int ix = 0; ix < ink.w; ++ix)
                if (const float a = ink.at(ix, iy); a > 0.f)
                    blend(x + ix, y + iy, rgb, a);
    }
    void blend(int x, int y, uint32_t rgb, float a)
    {
        if (x < 0 || y < 0 || x >= W || y >= H)
            return;
        uint8_t* p = &px[(size_t(H - 1 - y) * W + size_t(x)) * 4];
        for (int k = 0; k < 3; ++k)
            p[k] = uint8_t(std::lround(p[k] * (1.f - a) + float((rgb >> (8 * k)) & 0xff) * a));
    }
    void line(int x0, int y0, int x1, int y1, uint32_t rgb)
    {
        const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int i = 0; i <= n; ++i) {
            const int x = x0 + (n ? (x1 - x0) * i / n : 0), y = y0 + (n ? (y1 - y0) * i / n : 0);
            set(x, y, rgb);
            set(x, y + 1, rgb);
        }
    }
};

double nice_step(double range)
{
    const double raw = range / 6.0;
    const double p = std::pow(10.0, std::floor(std::log10(std::max(raw, 1e-6))));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (raw <= m * p)
            return m * p;
    return 10 * p;
}
}  // namespace

bool write_profile_plot(const std::string& path, const std::vector<FrameFigure>& frames,
                        const std::vector<SectionFigure>& sections, std::string& error)
{
    Canvas c;
    c.rect(0, 0, W, H, 0x101014);
    if (frames.empty())
        return write_png_bgra(path, c.px.data(), W, H, error);
    const int t0 = frames.front().t, t1 = std::max(frames.back().t, t0 + 1);
    double top = 0;
    for (const FrameFigure& f : frames)
        top = std::max({top, f.ms, f.floorMs * 1.5});
    top = std::max(top * 1.08, 1.0);
    const int plotW = W - LEFT - RIGHT, plotH = H - TOP - BOTTOM;
    auto xOf = [&](int t) { return LEFT + int(double(t - t0) / double(t1 - t0) * (plotW - 1)); };
    auto yOf = [&](double ms) { return TOP + plotH - int(ms / top * plotH); };

    // Sections shaded in turn, named along the top on two staggered rows.
    for (size_t i = 0; i < sections.size(); ++i) {
        const SectionFigure& s = sections[i];
        const int x0 = xOf(s.from), x1 = (i + 1 < sections.size()) ? xOf(sections[i + 1].from) : LEFT + plotW;
        c.rect(x0, TOP, x1, TOP + plotH, i % 2 ? 0x1c2230 : 0x262b3a);
        const int y = TOP - 28 + int(i % 2) * 12;
        c.line(x0, y + 8, x0, TOP + plotH, 0x505a70);
        std::string name = s.name;
        const size_t fit = size_t(std::max(0, (x1 - x0 - 4) / 6));
        if (i + 1 < sections.size() && name.size() > fit * 2)
            name = name.substr(0, fit * 2);  // may run into the next band's row above
        c.text(x0 + 2, y, name, 0xd8dce8, 1);
    }
    // Millisecond scale.
    const double step = nice_step(top);
    for (double ms = 0; ms < top; ms += step) {
        const int y = yOf(ms);
        for (int x = LEFT; x < LEFT + plotW; x += 4)
            c.set(x, y, 0x586070);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%g ms", ms);
        c.text(4, y - 7, buf, 0xc0c4d0);
    }
    // Time along the bottom, every ten seconds.
    for (int t = (t0 / 10000) * 10000; t <= t1; t += 10000) {
        if (t < t0)
            continue;
        c.line(xOf(t), TOP + plotH, xOf(t), TOP + plotH + 5, 0xc0c4d0);
        c.text(xOf(t) - 10, TOP + plotH + 10, std::to_string(t / 1000) + "s", 0xc0c4d0);
    }
    // The floor filled, 1.5x the floor dotted, the frame time as a line.
    for (size_t i = 0; i < frames.size(); ++i) {
        const int x0 = xOf(frames[i].t);
        const int x1 = i + 1 < frames.size() ? std::max(x0 + 1, xOf(frames[i + 1].t)) : x0 + 1;
        c.rect(x0, yOf(frames[i].floorMs), x1, TOP + plotH, 0x2f6fb0);
        c.set(x0, yOf(frames[i].floorMs * 1.5), 0x8fd0ff);
    }
    for (size_t i = 1; i < frames.size(); ++i)
        c.line(xOf(frames[i - 1].t), yOf(frames[i - 1].ms), xOf(frames[i].t), yOf(frames[i].ms), 0xffa030);
    c.text(LEFT, H - 14, "frame time (orange), pass floor (blue), 1.5x floor (dots)", 0xffffff, 1);
    return write_png_bgra(path, c.px.data(), W, H, error);
}
