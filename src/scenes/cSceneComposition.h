#pragma once
// The composition: the show's whole timeline.
//
// Every other scene of the show plays here as a layer: a time window, a
// blend mode and an opacity that fades in and out. Each frame the layers
// active at the demo time render into pooled targets and are composed
// bottom-up (lowest layer number first); a flickering bloom and the film
// grain finish the picture. The composition's own interpolators also set
// the layer scenes' variables by name at fixed times: that is the show's
// choreography. A "curtime" slider on the panel scrubs: moving it more
// than 2.5 s away from the playing time seeks clock, music and events.
#include <map>
#include <string>
#include <vector>

#include "post/post.h"

#include "runtime/cScene.h"

class cSceneManager;

struct CompositionLayer {
    int start;  // first demo time (ms) at which the layer is active
    int end;    // last demo time at which it is active
    cScene* scene;  // not owned
    float opacity = 1.f;
    int mode = 0;  // eCompMode
};

class cSceneComposition : public cScene {
public:
    explicit cSceneComposition(DemoClock* clock) : cScene(clock) {}
    ~cSceneComposition() override = default;

    std::string getName() override;
    // Builds the timeline from the registered scenes, then initialises them
    // and draws each once off screen (see warm_up_layers).
    void init() override;
    // Draws a frame of every set of layers the show shows together, its
    // picture thrown away, so that what a layer first uses (render targets
    // of its sizes, the renderer's code for its meshes and states, buffers,
    // textures) is made while the show loads rather than in the frame the
    // layer appears. The shared random
    // table's cursor is put back afterwards: the show's pictures are those
    // it makes without it.
    void warm_up_layers();
    void restart() override {}
    void reservedHook() override {}
    void draw() override;
    void handleEvent(cEvent* e) override;
    bool update() override;
    void fillGui(cGuiVarList& list) override;
    cTmpRT render(int) override { return cTmpRT(); }

    // Inserts a layer (a number already used keeps its old layer) with a
    // fade-in lerp on its opacity and, when fadeOut > 0, a fade-out.
    void addLayer(int number, const CompositionLayer& layer, int fadeIn, int fadeOut);
    // The show's timeline: seven layers and the variable changes between
    // them, in the order they are created. A change whose scene has no
    // variable of that name and type is left out and named in
    // timeline_problems; init says each on standard error.
    void build_timeline();
    // "scene \"spikeball\" has no float variable \"cam_dst\": the change at
    // 00:00:25,500 is left out", one per change left out.
    const std::vector<std::string>& timeline_problems() const { return m_timelineProblems; }

    // Appends an interpolator on a named variable of a layer scene (nothing
    // when the scene is missing; a problem when it has no such variable).
    void set_int(cScene* s, const char* var, int start, int end, int value);
    void set_float(cScene* s, const char* var, int start, int end, float value);
    void lerp(cScene* s, const char* var, int start, int end, float from, float to);
    void smooth(cScene* s, const char* var, int start, int end, float from, float to);

    bool active(const CompositionLayer& l, int t) const { return l.start <= t && t <= l.end; }
    // What draw records for the frame it shows at t: the slider follows.
    void mark_drawn(int t) { lastDrawnTime = m_shownTime = t; }
    // Layer numbers active at t, in order.
    std::vector<int> active_layers(int t) const;

    std::map<int, CompositionLayer> layers;
    int lastDrawnTime = 0;  // also the "curtime" slider's value
    // The scenes come from this manager; the process-wide one when null.
    cSceneManager* manager = nullptr;

    static constexpr int SCRUB_DISTANCE = 2500;

private:
    cSceneManager* the_manager();
    // The registered scene of class T; null with one warning naming the
    // class when there is none.
    template <typename T>
    cScene* layer_scene(const char* className);
    // The variable of s named var when it holds a T; otherwise null, and a
    // problem that names the scene, the variable and the change's time.
    template <typename T>
    iVar* timeline_var(cScene* s, const char* var, int start);
    // The composed picture's glow, then the picture drawn to the screen with
    // the grain over it in the same step: no full-size copy in between, and
    // the grain keeps its size on screen at any render scale.
    // The layers of `numbers` drawn and composed onto the screen at time t
    // (at full opacity when asked: the loading's frames).
    void compose_frame(const std::vector<int>& numbers, int t, bool fullOpacity);
    void finish(const std::vector<cCompLayer>& inputs, int t);

    std::string m_activeText;
    std::vector<std::string> m_timelineProblems;
    int m_shownTime = 0;  // what draw last put into lastDrawnTime  // layer numbers active at the last update
};
