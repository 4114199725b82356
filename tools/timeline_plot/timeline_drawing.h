#pragma once
// The timeline's picture drawn with Cairo: one time axis in seconds across
// the top and the bottom; beneath it a lane per composition layer, a lane
// per animated variable, a lane per MIDI track and the music's waveform;
// the marker script's markers as labelled vertical lines through them all.
// PNG or SVG by the file's ending.
#include <string>
#include <vector>

#include "timeline_plot/timeline_picture.h"

// One horizontal band of the picture.
struct PlotLane {
    enum eKind { section, layer, variable, track, music } kind;
    std::string label;   // the name at its left ("20 mandalacube", "spikeball cam_dist")
    std::string detail;  // the smaller line beneath it
    int y = 0, height = 0;
    int index = 0;  // into the picture's layers, variables or tracks
};

// Where a marker's label goes: right of its line, or left of it at the
// picture's right end, in the first row where it overlaps no other label.
struct PlotMarkerLabel {
    size_t marker = 0;  // into the picture's markers
    int row = 0;
    double left = 0, right = 0;  // the label's extent in x
};

struct PlotLayout {
    int width = 0, height = 0;
    int plotLeft = 0, plotRight = 0;  // the time axis runs between these x
    int markerTop = 0, markerRows = 0;  // marker labels, in rows
    std::vector<PlotMarkerLabel> markerLabels;  // the markers within the span, by time
    int axisTop = 0, lanesTop = 0, lanesBottom = 0;
    std::vector<PlotLane> lanes;

    // x of demo time t, and the time at x.
    double x_of(const TimelinePicture& p, double t) const;
    double t_of(const TimelinePicture& p, double x) const;
};

constexpr int DEFAULT_PLOT_WIDTH = 1600;
constexpr int MIN_PLOT_WIDTH = 800;
constexpr int MAX_PLOT_WIDTH = 8000;

// Where everything goes at this width; the height is what the lanes need.
PlotLayout layout_timeline(const TimelinePicture& p, int width);

// ".png" or ".svg" (any letter case); empty for another ending.
std::string plot_format(const std::string& path);

// Draws the picture into path (PNG or SVG by its ending). False with a
// one-line reason when the fonts cannot be opened or the file not written.
bool write_timeline_plot(const TimelinePicture& p, const std::string& path, int width, std::string& error);
