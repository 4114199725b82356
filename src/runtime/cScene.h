#pragma once
// The scene interface.
//
// Every part of the show is a cScene: the scene manager initialises the
// shown scene, forwards MIDI events to it and calls update and draw once a
// frame; the composition scene calls render on the scenes it layers. A scene
// has a camera, a pointer to the manager's demo clock and a list of
// interpolators that animate its variables (see cInterpolator.h); it lists
// its tweakable variables, each with the range of its panel control, in
// getVars: the timeline finds them there by name and the panel reads them.
#include <string>
#include <utility>
#include <vector>

#include "runtime/DemoClock.h"
#include "runtime/cInterpolator.h"
#include "render/cRenderTargetManager.h"

class cEvent;
class cGuiVarList;
class iVar;

struct cSceneCamera {
    float eye[3] = {1.f, 1.f, 1.f};
    float centre[3] = {0.f, 0.f, 0.f};
    float up[3] = {0.f, 0.f, 1.f};
    float fov = 65.f;  // vertical, degrees
    float znear = 0.1f;
    float zfar = 500.f;
    float aspect = 1280.f / 720.f;  // render width / render height
    double roll = 0.0;              // degrees, about (0, 0, -1)
};

// Eye and centre sliders over lo..hi, field of view and roll, for a
// scene's fillGui.
void add_camera_gui(cGuiVarList& list, cSceneCamera& camera, float lo, float hi);

// A tweakable variable of a scene and the range its panel slider covers
// (an int's slider runs from 0 to maximum).
struct cSceneVar {
    iVar* var;
    float minimum;
    float maximum;
};
using SceneVars = std::vector<cSceneVar>;

class cScene {
public:
    explicit cScene(DemoClock* clock) : clock(clock) {}
    virtual ~cScene();
    cScene(const cScene&) = delete;
    cScene& operator=(const cScene&) = delete;

    virtual std::string getName() = 0;
    // One-time preparation, while the loading screen is up.
    virtual void init() = 0;
    // Called right after the clock and the music jumped to the start marker.
    virtual void restart() = 0;
    virtual void reservedHook() = 0;
    // Draws the scene for the current demo time into the back buffer. The
    // base renders the scene off screen and shows it over a grey checker.
    virtual void draw();
    // Timeline events forwarded by the manager (MIDI notes and beats).
    virtual void handleEvent(cEvent* e) = 0;
    // Once a frame; true asks for a rebuild of the tweak panel.
    virtual bool update() = 0;
    virtual void fillGui(cGuiVarList& list) = 0;
    // Renders the scene at demo time `time` into a pooled target and hands
    // it over; an empty handle when the scene cannot render off screen.
    virtual cTmpRT render(int time) = 0;
    // The scene's tweakable variables, each with its panel range.
    virtual SceneVars getVars() { return {}; }

    // Runs the interpolator list for the current demo time. First, every
    // window that closed since the previous run (also one that opened and
    // closed between two frames) writes its end value, in order of end
    // time; then each window active now writes, in list order, and one that
    // was active in the previous run writes once more on leaving it. On the
    // first run and after every jump of the clock the variables are first
    // brought to what they would hold had the show played up to now (see
    // catch_up_interpolators).
    void update_interpolators();
    // Puts every interpolated variable back to its value before the first
    // run, then applies each interpolator whose window ended before t at
    // its end, in order of end time (list order among equal ends).
    void catch_up_interpolators(int t);
    // The first of this scene's variables (getVars) named name, or null.
    iVar* find_var(const std::string& name);
    int demo_time() const { return clock ? clock->demo_time() : 0; }
    // Projection and model-view from the camera.
    void apply_camera() const;
    // Takes the note pulses (interpolators of `pulses`, also in the list)
    // that have played out and written their last value, `holdMs` after
    // their end, or that lie ahead of the clock after a jump back (their
    // note fires again and brings them back): out of both lists and
    // deleted. Otherwise a loop or a seek back added the song's notes again
    // on every pass.
    void drop_played_pulses(std::vector<cInterpolator*>& pulses, int now, int holdMs);

    cSceneCamera camera;
    DemoClock* clock;
    std::vector<cInterpolator*> interpolators;  // owned
    int lastUpdate = -1;  // demo time of the last interpolator run

private:
    struct InitialValue {
        void* value;  // an int or a float
        bool isInt;
        float f;
        int i;
    };
    void remember_initial_values();
    // The interpolators whose window ends in [from, to), by end time (list
    // order among equal ends).
    std::vector<cInterpolator*> windows_ended_between(int from, int to) const;
    // Each one's value at the end of its window, in the given order.
    static void apply_ends(const std::vector<cInterpolator*>& ended);

    bool m_interpolatorsRan = false;
    int m_seenJumps = 0;
    std::vector<InitialValue> m_initialValues;
};
