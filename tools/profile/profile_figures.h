#pragma once
// The frame profiler's arithmetic, apart from GL so it can be tested.
//
// The floor of a frame is what its passes would cost if each were a plain
// copy of the pixels it wrote: the plain copy measured per size class in
// the same run, interpolated by pixel count, times the texture samples the
// pass takes per pixel (a separable blur half five, a radial blur its sample
// count, a composition its two inputs). A pass's pixels are the fragments it
// wrote, counted by an occlusion query, so a mesh is charged for the part of
// the target it covers and a pass drawn into part of a target for that part.
// Fragments hidden later by nearer ones were still written and count;
// fragments the depth test threw away do not.
#include <string>
#include <utility>
#include <vector>

// Plain-copy cost (ms) at each measured size class, largest first.
struct CopyCosts {
    std::vector<long> pixels;
    std::vector<double> ms;
};

// Per size class, the median of several measurements (classes as in the
// first); one spike of the machine's load moves no floor.
CopyCosts median_copy_costs(const std::vector<CopyCosts>& runs);
// Interpolated linearly in pixels between the nearest measured classes;
// proportional to pixels outside them. 0 when nothing was measured.
double copy_cost(const CopyCosts& costs, long pixels);
// Texture samples per written pixel of a pass drawn with this shader: the
// image passes' taps; one for every other draw (a mesh with the scene's
// shader, a plain copy or a mesh without any).
float pass_samples(const std::string& shader);
// The floor of one pass; 0 for a pass that wrote nothing.
double pass_floor(const CopyCosts& costs, long pixels, float samples);

struct PassFigure {
    std::string shader;
    std::string scope;  // the layer scene that drew it; "composition" outside any
    long pixels = 0;    // the target's (the viewport's) pixels
    long fragments = -1; // pixels written; -1 where not counted
    float samples = 0.f;
    long written() const { return fragments >= 0 ? fragments : pixels; }
    double ms = 0;     // wall time to the pass's end, its work finished
    double gpuMs = -1; // GL timer query; -1 where the driver has none
    double cpuMs = 0;  // processor time of the process (the renderer's threads too)
};

struct FrameFigure {
    int t = 0;          // demo time, ms
    double ms = 0;      // whole frame, wall
    double cpuMs = 0;
    double floorMs = 0;
    double pictureFloorMs = 0;
    std::vector<std::string> layers;  // active layer scenes, bottom first
    std::vector<std::pair<std::string, double>> layerMs;  // per layer scene's render
    std::vector<PassFigure> passes;
};

// Sums the floors of the frame's passes.
double frame_floor(const CopyCosts& costs, const std::vector<PassFigure>& passes);
// The stricter floor of a frame: one plain copy of the full picture per
// active layer (each layer must at least hand over a picture) and one for
// the composed frame. What a frame spends above it is work the pictures
// themselves do not need.
double picture_floor(const CopyCosts& costs, long fullPixels, size_t activeLayers);

// A stretch of the show with the same active layers.
struct SectionFigure {
    std::string name;  // the layers, joined with " + "; "(none)" when empty
    int from = 0, to = 0;  // demo times of the first and last frame
    int frames = 0;
    double meanMs = 0, worstMs = 0, meanFloorMs = 0, meanPictureFloorMs = 0;
    int worstT = 0;
    double fps() const { return meanMs > 0 ? 1000.0 / meanMs : 0; }
    double floorMultiple() const { return meanFloorMs > 0 ? meanMs / meanFloorMs : 0; }
    double pictureFloorMultiple() const { return meanPictureFloorMs > 0 ? meanMs / meanPictureFloorMs : 0; }
    // The three passes with the most time per frame: "scope/shader", ms.
    std::vector<std::pair<std::string, double>> top;
};

// Consecutive frames with the same layers form one section, in show order;
// a set of layers that comes back later is a section of its own.
std::vector<SectionFigure> group_sections(const std::vector<FrameFigure>& frames);
// The whole run as one section named "whole show".
SectionFigure whole_run(const std::vector<FrameFigure>& frames);
