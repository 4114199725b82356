#include "profile/profile_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "assets/cairo_canvas.h"
#include "assets/typeface.h"

namespace {
constexpr int W = 1600, H = 600, LEFT = 70, RIGHT = 20, TOP = 60, BOTTOM = 40;

// The plot's picture: Cairo draws it, the monospace face letters it.
struct Canvas {
    CairoCanvas picture{CAIRO_FORMAT_RGB24, W, H};
    cairo_t* cr = picture.cr();
    Typeface face;
    bool haveFace = face.open(CELL_FACE);

    void rect(double x0, double y0, double x1, double y1, unsigned rgb)
    {
        cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
        set_source_rgb(cr, rgb);
        cairo_fill(cr);
    }
    // A one-pixel line between pixel centres; `dots` leaves three pixels
    // out after each one drawn.
    void line(double x0, double y0, double x1, double y1, unsigned rgb, bool dots = false)
    {
        cairo_move_to(cr, x0 + 0.5, y0 + 0.5);
        cairo_line_to(cr, x1 + 0.5, y1 + 0.5);
        stroke(rgb, 1.0, dots);
    }
    // Strokes the current path.
    void stroke(unsigned rgb, double width, bool dots = false)
    {
        const double dash[2] = {1.0, 3.0};
        cairo_set_dash(cr, dash, dots ? 2 : 0, 0.0);
        cairo_set_line_width(cr, width);
        set_source_rgb(cr, rgb);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0.0);
    }
    // Text with its top-left corner at (x, y), in the monospace face at
    // 10 * s pixels (as wide per letter as the panel's font cells).
    void text(double x, double y, const std::string& t, unsigned rgb, int s = 2)
    {
        if (!haveFace || t.empty())
            return;
        const int pixels = 10 * s;
        set_source_rgb(cr, rgb);
        face.draw(cr, t, float(x), float(y) + face.cap_height(pixels) + 1.f, pixels);
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

// Milliseconds between the time axis's labels: whole seconds, a dozen
// labels at most over the range.
int time_step(int rangeMs)
{
    for (int s : {1, 2, 5, 10, 20, 30, 60, 120, 300})
        if (rangeMs / (s * 1000) <= 12)
            return s * 1000;
    return 600000;
}
}  // namespace

bool write_profile_plot(const std::string& path, const std::vector<FrameFigure>& frames,
                        const std::vector<SectionFigure>& sections, std::string& error)
{
    Canvas c;
    if (!c.picture.ok()) {
        error = "no memory for the plot " + path;
        return false;
    }
    c.rect(0, 0, W, H, 0x101014);
    if (frames.empty())
        return c.picture.write_png(path, error);
    const int t0 = frames.front().t, t1 = std::max(frames.back().t, t0 + 1);
    double top = 0;
    for (const FrameFigure& f : frames)
        top = std::max({top, f.ms, f.floorMs * 1.5});
    top = std::max(top * 1.08, 1.0);
    const int plotW = W - LEFT - RIGHT, plotH = H - TOP - BOTTOM;
    auto xOf = [&](int t) { return LEFT + int(double(t - t0) / double(t1 - t0) * (plotW - 1)); };
    auto yOf = [&](double ms) { return TOP + plotH - ms / top * plotH; };

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
        const double y = std::round(yOf(ms));
        c.line(LEFT, y, LEFT + plotW - 1, y, 0x586070, true);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%g ms", ms);
        c.text(4, y - 7, buf, 0xc0c4d0);
    }
    // Time along the bottom: whole seconds, at most a dozen labels.
    const int tStep = time_step(t1 - t0);
    for (int t = (t0 / tStep) * tStep; t <= t1; t += tStep) {
        if (t < t0)
            continue;
        c.line(xOf(t), TOP + plotH, xOf(t), TOP + plotH + 5, 0xc0c4d0);
        c.text(xOf(t) - 10, TOP + plotH + 10, std::to_string(t / 1000) + "s", 0xc0c4d0);
    }
    // The floor filled as steps from frame to frame, 1.5x the floor dotted
    // along the same steps, the frame time as a line.
    cairo_t* cr = c.cr;
    auto floor_steps = [&](double scale) {
        for (size_t i = 0; i < frames.size(); ++i) {
            const int x0 = xOf(frames[i].t);
            const int x1 = i + 1 < frames.size() ? std::max(x0 + 1, xOf(frames[i + 1].t)) : x0 + 1;
            cairo_line_to(cr, x0, yOf(frames[i].floorMs * scale));
            cairo_line_to(cr, x1, yOf(frames[i].floorMs * scale));
        }
    };
    cairo_move_to(cr, xOf(t0), TOP + plotH);
    floor_steps(1.0);
    cairo_line_to(cr, xOf(frames.back().t) + 1, TOP + plotH);
    cairo_close_path(cr);
    set_source_rgb(cr, 0x2f6fb0);
    cairo_fill(cr);
    cairo_new_path(cr);
    floor_steps(1.5);
    c.stroke(0x8fd0ff, 1.0, true);
    for (size_t i = 0; i < frames.size(); ++i) {
        const int x0 = xOf(frames[i].t);
        const int x1 = i + 1 < frames.size() ? std::max(x0 + 1, xOf(frames[i + 1].t)) : x0 + 1;
        cairo_line_to(cr, x0, yOf(frames[i].pictureFloorMs));
        cairo_line_to(cr, x1, yOf(frames[i].pictureFloorMs));
    }
    c.stroke(0x60e080, 1.5);
    for (const FrameFigure& f : frames)
        cairo_line_to(cr, xOf(f.t) + 0.5, yOf(f.ms));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    c.stroke(0xffa030, 1.5);
    c.text(LEFT, H - 14, "frame time (orange), pass floor (blue), 1.5x floor (dots), picture floor (green)", 0xffffff, 1);
    return c.picture.write_png(path, error);
}
