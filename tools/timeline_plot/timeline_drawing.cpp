#include "timeline_plot/timeline_drawing.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>

#include "post/post_params.h"
#include "timeline_plot/plot_fonts.h"

namespace {
// Sizes in pixels at the default width; the lanes are tall enough to read
// a curve's shape, the labels large enough to read without zooming.
const int LABEL_COLUMN = 260;
const int RIGHT_MARGIN = 24;
const int HEADER = 72;
const int MARKER_ROW = 15;
const int AXIS = 24;
const int SECTION = 26;
const int LAYER_LANE = 34;
const int VARIABLE_LANE = 38;
const int TRACK_LANE = 26;
const int MUSIC_LANE = 96;
const int BOTTOM = 40;
const double MARKER_CHAR = 6.6;  // the width of a marker label's letter, for placing labels in rows

struct Rgb {
    double r, g, b;
};
const Rgb PAPER = {0xf4 / 255.0, 0xf1 / 255.0, 0xea / 255.0};
const Rgb INK = {0x14 / 255.0, 0x12 / 255.0, 0x10 / 255.0};
const Rgb DUSK = {0x2b / 255.0, 0x25 / 255.0, 0x4a / 255.0};   // the blend layers, the waveform
const Rgb AMBER = {0xc0 / 255.0, 0x7a / 255.0, 0x22 / 255.0};  // screen layers, set values
const Rgb SLATE = {0x4a / 255.0, 0x6a / 255.0, 0x72 / 255.0};  // modulate and other modes
const Rgb PLUM = {0x7a / 255.0, 0x2e / 255.0, 0x6e / 255.0};   // scene markers

Rgb mode_colour(int mode)
{
    return mode == COMP_OVER ? DUSK : mode == COMP_SCREEN || mode == COMP_ADD ? AMBER : SLATE;
}

void colour(cairo_t* cr, const Rgb& c, double alpha = 1.0)
{
    cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

// Marker labels placed left to right in the first row where they fit.
void place_marker_labels(const TimelinePicture& p, PlotLayout& l)
{
    std::vector<double> rowEnd;
    for (size_t i = 0; i < p.markers.size(); ++i) {
        const PlotMarker& m = p.markers[i];
        if (m.ms < p.from || m.ms > p.to)
            continue;
        PlotMarkerLabel label;
        label.marker = i;
        const double x = l.x_of(p, m.ms);
        const double w = m.text.size() * MARKER_CHAR;
        label.left = x + 3 + w > l.width - 4 ? x - 3 - w : x + 3;
        label.right = label.left + w;
        size_t row = 0;
        while (row < rowEnd.size() && rowEnd[row] > label.left)
            ++row;
        if (row == rowEnd.size())
            rowEnd.push_back(-1e9);
        rowEnd[row] = label.right + 6;
        label.row = int(row);
        l.markerLabels.push_back(label);
    }
    l.markerRows = int(rowEnd.size());
}

std::string number(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4g", v);
    return buf;
}

std::string seconds_text(int ms)
{
    char buf[32];
    if (ms % 1000 == 0)
        std::snprintf(buf, sizeof buf, "%d", ms / 1000);
    else if (ms % 100 == 0)
        std::snprintf(buf, sizeof buf, "%.1f", ms / 1000.0);
    else
        std::snprintf(buf, sizeof buf, "%.2f", ms / 1000.0);
    return buf;
}

// A window as the marker script writes times, in seconds: "14.5-42".
std::string window_text(int start, int end)
{
    return seconds_text(start) + "-" + seconds_text(end) + " s";
}

bool ends_with_nocase(const std::string& s, const std::string& tail)
{
    if (s.size() < tail.size())
        return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::tolower((unsigned char)s[s.size() - tail.size() + i]) != tail[i])
            return false;
    return true;
}

class Painter {
public:
    Painter(cairo_t* cr, const PlotFonts& fonts, const TimelinePicture& p, const PlotLayout& l)
        : cr(cr), f(fonts), p(p), l(l)
    {
    }
    void draw();

private:
    void text(const std::string& s, double x, double y, cairo_font_face_t* face, double size, const Rgb& c,
              double alpha = 1.0, bool rightAligned = false);
    double text_width(const std::string& s, cairo_font_face_t* face, double size);
    void header();
    void axis(int y, bool labelsBelow);
    void grid();
    void markers();
    void lane_label(const PlotLane& lane);
    void layer(const PlotLane& lane);
    void variable(const PlotLane& lane);
    void track(const PlotLane& lane);
    void music(const PlotLane& lane);
    void clip_to_plot(int y, int h);
    int tick_step() const;

    cairo_t* cr;
    const PlotFonts& f;
    const TimelinePicture& p;
    const PlotLayout& l;
};

void Painter::text(const std::string& s, double x, double y, cairo_font_face_t* face, double size, const Rgb& c,
                   double alpha, bool rightAligned)
{
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, size);
    if (rightAligned)
        x -= text_width(s, face, size);
    colour(cr, c, alpha);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, s.c_str());
}

double Painter::text_width(const std::string& s, cairo_font_face_t* face, double size)
{
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, s.c_str(), &e);
    return e.x_advance;
}

int Painter::tick_step() const
{
    const double pxPerMs = (l.plotRight - l.plotLeft) / double(std::max(p.to - p.from, 1));
    for (int step : {10, 20, 50, 100, 200, 250, 500, 1000, 2000, 5000, 10000, 15000, 30000, 60000})
        if (step * pxPerMs >= 64)
            return step;
    return 120000;
}

void Painter::header()
{
    text("Morvane timeline", 24, 40, f.heading, 28, INK);
    const std::string span = "seconds " + seconds_text(p.from) + " to " + seconds_text(p.to);
    text(span + "   " + p.title, 24, 60, f.label, 12, INK, 0.75);
    // The layers' colours.
    double x = l.plotRight;
    for (int mode : {COMP_MODULATE, COMP_SCREEN, COMP_OVER}) {
        const std::string name = comp_mode_name(mode);
        x -= text_width(name, f.label, 12);
        text(name, x, 40, f.label, 12, INK, 0.8);
        x -= 20;
        colour(cr, mode_colour(mode), 0.8);
        cairo_rectangle(cr, x, 30, 14, 12);
        cairo_fill(cr);
        x -= 16;
    }
    text("layer modes:", x, 40, f.label, 12, INK, 0.6, true);
}

void Painter::axis(int y, bool labelsBelow)
{
    const int step = tick_step();
    colour(cr, INK, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, l.plotLeft, y + 0.5);
    cairo_line_to(cr, l.plotRight, y + 0.5);
    cairo_stroke(cr);
    const int first = (p.from + step - 1) / step * step;
    for (int t = first; t <= p.to; t += step) {
        const double x = std::round(l.x_of(p, t)) + 0.5;
        cairo_move_to(cr, x, y + (labelsBelow ? 0 : -5));
        cairo_line_to(cr, x, y + (labelsBelow ? 5 : 0));
        cairo_stroke(cr);
        const std::string s = seconds_text(t);
        const double w = text_width(s, f.label, 11);
        text(s, x - w / 2, labelsBelow ? y + 17 : y - 8, f.label, 11, INK, 0.9);
    }
    text("seconds", l.plotLeft - 10, labelsBelow ? y + 17 : y - 8, f.label, 11, INK, 0.6, true);
}

void Painter::grid()
{
    const int step = tick_step();
    cairo_set_line_width(cr, 1);
    colour(cr, INK, 0.07);
    const int first = (p.from + step - 1) / step * step;
    for (int t = first; t <= p.to; t += step) {
        const double x = std::round(l.x_of(p, t)) + 0.5;
        cairo_move_to(cr, x, l.lanesTop);
        cairo_line_to(cr, x, l.lanesBottom);
    }
    cairo_stroke(cr);
}

void Painter::markers()
{
    for (const PlotMarkerLabel& label : l.markerLabels) {
        const PlotMarker& m = p.markers[label.marker];
        const double x = std::round(l.x_of(p, m.ms)) + 0.5;
        const double labelY = l.markerTop + (label.row + 1) * MARKER_ROW - 3;
        // The line from its label down through every lane.
        cairo_set_line_width(cr, m.scene ? 1.2 : 1.0);
        const double dash[] = {3, 3};
        cairo_set_dash(cr, dash, m.scene ? 0 : 2, 0);
        colour(cr, m.scene ? PLUM : INK, m.scene ? 0.55 : 0.28);
        cairo_move_to(cr, x, labelY + 3);
        cairo_line_to(cr, x, l.lanesBottom);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        const bool leftOfLine = label.left < x;
        text(m.text, leftOfLine ? x - 3 : label.left, labelY, m.scene ? f.bold : f.label, 11, m.scene ? PLUM : INK,
             0.95, leftOfLine);
    }
}

void Painter::lane_label(const PlotLane& lane)
{
    if (lane.kind == PlotLane::track) {
        // One line: the name, and the count at the column's right.
        text(lane.label, 24, lane.y + 16, f.bold, 11.5, INK);
        text(lane.detail, l.plotLeft - 10, lane.y + 16, f.label, 10.5, INK, 0.65, true);
        return;
    }
    text(lane.label, 24, lane.y + 15, f.bold, 12, INK);
    if (!lane.detail.empty())
        text(lane.detail, 24, lane.y + 29, f.label, 10.5, INK, 0.65);
}

void Painter::clip_to_plot(int y, int h)
{
    cairo_save(cr);
    cairo_rectangle(cr, l.plotLeft, y, l.plotRight - l.plotLeft, h);
    cairo_clip(cr);
}

void Painter::layer(const PlotLane& lane)
{
    const PlotLayer& L = p.layers[lane.index];
    const double top = lane.y + 4, bottom = lane.y + lane.height - 4, h = bottom - top;
    clip_to_plot(lane.y, lane.height);
    const double x0 = l.x_of(p, L.start), x1 = l.x_of(p, L.end);
    // The window, whatever the opacity.
    colour(cr, INK, 0.35);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, x0 + 0.5, top + 0.5, std::max(x1 - x0, 1.0), h);
    cairo_stroke(cr);
    // The opacity as the height of the bar: the fades are its ramps.
    const double from = std::max(x0, double(l.plotLeft)), to = std::min(x1, double(l.plotRight));
    if (to > from) {
        cairo_move_to(cr, from, bottom);
        for (double x = from; x <= to + 0.5; x += 1.0) {
            const double xx = std::min(x, to);
            int t = int(std::lround(l.t_of(p, xx)));
            t = std::min(std::max(t, L.start), L.end);
            cairo_line_to(cr, xx, bottom - L.opacity_at(t) * h);
        }
        cairo_line_to(cr, to, bottom);
        cairo_close_path(cr);
        colour(cr, mode_colour(L.mode), 0.78);
        cairo_fill(cr);
        // What plays there, written in the bar once it has faded in, where
        // it has room.
        double textX = from;
        while (textX < to && L.opacity_at(int(std::lround(l.t_of(p, textX)))) < 0.75f)
            textX += 1.0;
        const std::string s = lane.label + " " + comp_mode_name(L.mode);
        if (text_width(s, f.bold, 11) + 12 < to - textX)
            text(s, textX + 6, bottom - 6, f.bold, 11, PAPER);
    }
    cairo_restore(cr);
}

void Painter::variable(const PlotLane& lane)
{
    const PlotVariable& v = p.variables[lane.index];
    const double top = lane.y + 6, bottom = lane.y + lane.height - 6, h = bottom - top;
    const double lo = v.lo, hi = v.hi > v.lo ? v.hi : v.lo + 1.0;
    auto y_of = [&](double value) { return bottom - (value - lo) / (hi - lo) * h; };
    clip_to_plot(lane.y, lane.height);
    // Between windows the value stays where the last one left it: faint.
    const double nan = std::nan("");
    colour(cr, INK, 0.25);
    cairo_set_line_width(cr, 1);
    bool drawing = false;
    for (double x = l.plotLeft; x <= l.plotRight; x += 1.0) {
        const float value = value_at(v.curves, int(std::lround(l.t_of(p, x))), float(nan));
        if (std::isnan(value)) {
            drawing = false;
            continue;
        }
        if (drawing)
            cairo_line_to(cr, x, y_of(value));
        else
            cairo_move_to(cr, x, y_of(value));
        drawing = true;
    }
    cairo_stroke(cr);
    // The value held where the picture starts, when no window starts there.
    double lastLabelEnd = -1e9;
    const float held = value_at(v.curves, p.from, float(nan));
    const bool startsHere = std::any_of(v.curves.begin(), v.curves.end(), [&](const PlotCurve& c) {
        return c.start <= p.from + (p.to - p.from) / 30 && c.end >= p.from;
    });
    if (!std::isnan(held) && !startsHere) {
        const std::string s = number(held);
        text(s, l.plotLeft + 3, top + 9, f.label, 10, INK, 0.7);
        lastLabelEnd = l.plotLeft + 3 + text_width(s, f.label, 10) + 4;
    }
    // Each window: a set as a step, a ramp as its curve; the value it
    // reaches written after it where there is room.
    for (const PlotCurve& c : v.curves) {
        const double x0 = l.x_of(p, c.start), x1 = l.x_of(p, c.end);
        if (c.kind == PlotCurve::set) {
            colour(cr, AMBER, 0.95);
            cairo_set_line_width(cr, 3);
            cairo_move_to(cr, x0, y_of(c.from));
            cairo_line_to(cr, std::max(x1, x0 + 2), y_of(c.from));
            cairo_stroke(cr);
        } else {
            colour(cr, INK, 0.95);
            cairo_set_line_width(cr, 1.8);
            for (size_t i = 0; i < c.samples.size(); ++i) {
                const double x = l.x_of(p, c.samples[i].first), y = y_of(c.samples[i].second);
                if (i == 0)
                    cairo_move_to(cr, x, y);
                else
                    cairo_line_to(cr, x, y);
            }
            cairo_stroke(cr);
        }
        const std::string s = (c.kind == PlotCurve::set ? "= " : "\u2192 ") + number(c.to);
        const double labelX = (c.kind == PlotCurve::set ? x0 : x1) + 3;
        if (labelX > lastLabelEnd && labelX > l.plotLeft && labelX < l.plotRight) {
            const double y = std::min(std::max(y_of(c.to) + (c.to > (lo + hi) / 2 ? 11 : -3), top + 9), bottom);
            text(s, labelX, y, f.label, 10, c.kind == PlotCurve::set ? AMBER : INK, 0.9);
            lastLabelEnd = labelX + text_width(s, f.label, 10) + 4;
        }
    }
    cairo_restore(cr);
}

void Painter::track(const PlotLane& lane)
{
    const PlotTrack& t = p.tracks[lane.index];
    const double top = lane.y + 4, bottom = lane.y + lane.height - 4;
    const int keys = std::max(t.highKey - t.lowKey, 1);
    clip_to_plot(lane.y, lane.height);
    colour(cr, INK, 0.85);
    cairo_set_line_width(cr, 1.5);
    // A tick per note, higher for a higher key.
    const double tick = 7;
    for (const PlotNote& n : t.notes) {
        if (n.ms < p.from || n.ms > p.to)
            continue;
        const double x = l.x_of(p, n.ms);
        const double y = bottom - tick - double(n.key - t.lowKey) / keys * (bottom - top - tick);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x, y + tick);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Painter::music(const PlotLane& lane)
{
    const PlotWave& w = p.wave;
    const double mid = lane.y + lane.height / 2.0, half = lane.height / 2.0 - 4;
    colour(cr, INK, 0.2);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, l.plotLeft, std::round(mid) + 0.5);
    cairo_line_to(cr, l.plotRight, std::round(mid) + 0.5);
    cairo_stroke(cr);
    if (w.lo.empty())
        return;
    colour(cr, DUSK, 0.85);
    for (int x = l.plotLeft; x < l.plotRight; ++x) {
        const long b0 = long(l.t_of(p, x) / w.binMs);
        const long b1 = std::max(long(l.t_of(p, x + 1) / w.binMs), b0 + 1);
        float lo = 0.f, hi = 0.f;
        for (long b = std::max(b0, 0L); b < std::min(b1, long(w.lo.size())); ++b) {
            lo = std::min(lo, w.lo[b]);
            hi = std::max(hi, w.hi[b]);
        }
        cairo_rectangle(cr, x, mid - hi * half, 1, std::max((hi - lo) * half, 1.0));
    }
    cairo_fill(cr);
}

void Painter::draw()
{
    colour(cr, PAPER);
    cairo_paint(cr);
    header();
    // Every other lane on a faint band, so a row reads across.
    for (size_t i = 0; i < l.lanes.size(); ++i) {
        const PlotLane& lane = l.lanes[i];
        if (lane.kind == PlotLane::section || i % 2)
            continue;
        colour(cr, INK, 0.035);
        cairo_rectangle(cr, 16, lane.y, l.plotRight - 16, lane.height);
        cairo_fill(cr);
    }
    grid();
    axis(l.axisTop + AXIS - 2, false);
    for (const PlotLane& lane : l.lanes) {
        if (lane.kind == PlotLane::section) {
            text(lane.label, 16, lane.y + lane.height - 8, f.heading, 14, INK, 0.9);
            if (!lane.detail.empty())
                text(lane.detail, 16 + text_width(lane.label, f.heading, 14) + 10, lane.y + lane.height - 8, f.label,
                     10.5, INK, 0.6);
            continue;
        }
        lane_label(lane);
        switch (lane.kind) {
            case PlotLane::layer: layer(lane); break;
            case PlotLane::variable: variable(lane); break;
            case PlotLane::track: track(lane); break;
            case PlotLane::music: music(lane); break;
            default: break;
        }
    }
    markers();
    axis(l.lanesBottom + 4, true);
}
}  // namespace

double PlotLayout::x_of(const TimelinePicture& p, double t) const
{
    return plotLeft + (t - p.from) * (plotRight - plotLeft) / std::max(p.to - p.from, 1);
}

double PlotLayout::t_of(const TimelinePicture& p, double x) const
{
    return p.from + (x - plotLeft) * std::max(p.to - p.from, 1) / double(plotRight - plotLeft);
}

PlotLayout layout_timeline(const TimelinePicture& p, int width)
{
    PlotLayout l;
    l.width = width;
    l.plotLeft = LABEL_COLUMN;
    l.plotRight = width - RIGHT_MARGIN;
    l.markerTop = HEADER;
    place_marker_labels(p, l);
    l.axisTop = l.markerTop + l.markerRows * MARKER_ROW + 4;
    int y = l.axisTop + AXIS;
    l.lanesTop = y;
    auto add = [&](PlotLane::eKind kind, const std::string& label, const std::string& detail, int h, int index) {
        l.lanes.push_back(PlotLane{kind, label, detail, y, h, index});
        y += h;
    };
    add(PlotLane::section, "LAYERS", "bottom to top; the bar's height is the layer's opacity", SECTION, 0);
    for (size_t i = 0; i < p.layers.size(); ++i) {
        const PlotLayer& L = p.layers[i];
        add(PlotLane::layer, std::to_string(L.number) + " " + L.scene,
            std::string(comp_mode_name(L.mode)) + ", " + window_text(L.start, L.end), LAYER_LANE, int(i));
    }
    add(PlotLane::section, "VARIABLES", "set values as steps, lerps and smooth steps as their curves", SECTION, 0);
    for (size_t i = 0; i < p.variables.size(); ++i) {
        const PlotVariable& v = p.variables[i];
        add(PlotLane::variable, v.scene + " " + v.name, number(v.lo) + " to " + number(v.hi), VARIABLE_LANE, int(i));
    }
    add(PlotLane::section, "MIDI NOTES", "a tick per note, higher for a higher key", SECTION, 0);
    for (size_t i = 0; i < p.tracks.size(); ++i) {
        const PlotTrack& t = p.tracks[i];
        add(PlotLane::track, "track " + std::to_string(t.index) + (t.name.empty() ? "" : " " + t.name),
            std::to_string(t.notes.size()) + " notes", TRACK_LANE, int(i));
    }
    add(PlotLane::section, "MUSIC", "", SECTION, 0);
    add(PlotLane::music, "waveform", p.wave.lo.empty() ? "no music" : "", MUSIC_LANE, 0);
    l.lanesBottom = y;
    l.height = y + BOTTOM;
    return l;
}

std::string plot_format(const std::string& path)
{
    if (ends_with_nocase(path, ".png"))
        return "png";
    if (ends_with_nocase(path, ".svg"))
        return "svg";
    return "";
}

bool write_timeline_plot(const TimelinePicture& p, const std::string& path, int width, std::string& error)
{
    const std::string format = plot_format(path);
    if (format.empty()) {
        error = "'" + path + "': the picture is a .png or an .svg file";
        return false;
    }
    PlotFonts fonts;
    if (!fonts.open(error))
        return false;
    const PlotLayout l = layout_timeline(p, width);
    cairo_surface_t* surface = format == "png"
                                   ? cairo_image_surface_create(CAIRO_FORMAT_RGB24, l.width, l.height)
                                   : cairo_svg_surface_create(path.c_str(), l.width, l.height);
    if (format == "svg")
        cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);  // as wide as the PNG would be
    cairo_t* cr = cairo_create(surface);
    Painter(cr, fonts, p, l).draw();
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    if (status == CAIRO_STATUS_SUCCESS && format == "png")
        status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS)
        status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        std::remove(path.c_str());
        error = "cannot write '" + path + "': " + cairo_status_to_string(status);
        return false;
    }
    return true;
}
