#pragma once
// What the timeline's picture shows, as data: the composition's layers with
// their opacity, every variable its interpolators animate, the marker
// script's markers, the MIDI notes per track and the music's loudness. The
// drawing (timeline_drawing.h) only lays this out; tests read it directly.
//
// Everything comes from the objects the show itself plays: the composition
// built by its own build_timeline over the show's registered scenes, the
// event queue as the show loads it, the music as the show decodes it.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class cEventQueue;
class cInterpolator;
class cSceneComposition;

// One interpolator's window and the values the show writes through it.
struct PlotCurve {
    enum eKind { set, lerp, smooth };
    int start = 0, end = 0;
    eKind kind = set;
    float from = 0.f, to = 0.f;  // a set writes `from` (== to) through its window
    // (demo ms, value) across the window, computed by the interpolator itself.
    std::vector<std::pair<int, float>> samples;

    // The value at t inside the window, from the samples.
    float at(int t) const;
};

// The value a variable has at t when these curves run in list order as the
// show runs them: the last active curve wins; between windows the value of
// the curve that ended last stays; before any window, `before`.
float value_at(const std::vector<PlotCurve>& curves, int t, float before);

struct PlotLayer {
    int number = 0;
    std::string scene;  // the scene's name, as the panel and --solo name it
    int start = 0, end = 0;
    int mode = 0;  // the composition mode (eCompMode)
    std::vector<PlotCurve> opacity;  // its fades

    // The layer's opacity at t; 0 where the layer is not active.
    float opacity_at(int t) const;
};

struct PlotVariable {
    std::string scene, name;
    std::vector<PlotCurve> curves;  // in the order the show runs them
    float lo = 0.f, hi = 0.f;       // the values the curves span
};

struct PlotMarker {
    int ms = 0;
    std::string text;  // the script's tokens at that time, in file order ("s02 technofx")
    bool scene = false;  // a scene marker (s00..s21, s100) or quit among them
};

struct PlotNote {
    int ms = 0;
    int key = 0;
    int velocity = 0;
};

struct PlotTrack {
    int index = 0;
    std::string name;  // printable
    std::vector<PlotNote> notes;
    int lowKey = 127, highKey = 0;
};

// The music's loudness: the lowest and highest sample (mono, -1..1) in
// each bin of binMs milliseconds from demo time 0.
struct PlotWave {
    int binMs = 10;
    std::vector<float> lo, hi;
};

struct TimelinePicture {
    int from = 0, to = 0;  // the span drawn, in demo ms
    std::vector<PlotLayer> layers;        // by layer number
    std::vector<PlotVariable> variables;  // by layer order of their scene, then first window
    std::vector<PlotMarker> markers;      // by time
    std::vector<PlotTrack> tracks;        // tracks with notes, by index
    PlotWave wave;
    std::string title;  // what the picture is of (file names)
};

// The name of a composition mode ("blend", "add", "screen", ...).
const char* comp_mode_name(int mode);

// Layers and variables from a composition whose timeline is built.
void add_composition(TimelinePicture& p, cSceneComposition& comp);
// Markers from the marker script's events, notes from the MIDI events, of
// one queue (the show's: script and MIDI merged).
void add_events(TimelinePicture& p, const cEventQueue& queue);
// The loudness of interleaved 16-bit stereo PCM at `rate` starting at demo
// time 0.
void add_waveform(TimelinePicture& p, const std::vector<int16_t>& pcm, int rate);

// The show's own composition: its nine scenes registered as the show
// registers them and its timeline built, without a display; then
// add_composition.
void add_show_composition(TimelinePicture& p);
