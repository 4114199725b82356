#pragma once
// The scene manager: owner of the show's moving parts.
//
// It holds the registered scenes (index 0 is the one shown), the timeline
// event queue, the music and the demo clock. Every frame the main loop
// advances the clock and calls dispatch_events, which fires each queued
// event whose time has passed: MIDI notes and beats go to the current
// scene, "quit" ends the process. On the first frame the clock and the music
// jump to the first "s00" marker. Pause and seek are applied to clock,
// music and queue together.
//
// One instance per process, created by get() and deleted by destroy() from
// the exit hook. Tests may construct their own with a manual time source.
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include "runtime/DemoClock.h"
#include "runtime/cScene.h"
#include "runtime/cSoundModule_fmod.h"

class cEventQueue;
class iLoadScreen;
class iTimeSource;

class cSceneManager {
public:
    explicit cSceneManager(iTimeSource* source = nullptr);
    ~cSceneManager();
    cSceneManager(const cSceneManager&) = delete;
    cSceneManager& operator=(const cSceneManager&) = delete;

    static cSceneManager* get();
    static void destroy();

    // Loads the marker script, opens the music and starts the clock at 0.
    // Without a marker script the show cannot run: the process ends.
    void setup(bool capture);
    // The part of setup that does not touch the marker script or the music.
    void init_clock();
    // Takes ownership of a queue (replacing any previous one).
    void set_event_queue(cEventQueue* queue);
    cEventQueue* event_queue() { return m_queue; }
    // Must come before setup or init_clock; the default is the monotonic clock.
    void use_time_source(iTimeSource* source);
    iTimeSource* time_source() { return m_clock.source; }

    template <typename T>
    T* add_scene()
    {
        T* scene = new T(&m_clock);
        m_scenes.push_back(scene);
        m_names.emplace(scene->getName(), scene);  // the first of a name keeps it
        return scene;
    }
    template <typename T>
    T* find_scene()
    {
        for (cScene* s : m_scenes)
            if (T* t = dynamic_cast<T*>(s))
                if (typeid(*s) == typeid(T))
                    return t;
        return nullptr;
    }
    cScene* find_scene(const std::string& name);
    const std::vector<cScene*>& scenes() const { return m_scenes; }
    // Makes scene `index` current; false when there is no such scene.
    bool select_scene(size_t index);
    cScene* current() { return m_current; }

    // The start-up step: shows the loading screen, makes scene 0 current and
    // initialises it, holds the loading screen until demo time 5000 ms, then
    // fades it to black within 1 s and stays black for another 0.5 s. Ends
    // the process (-1) when no scene is registered.
    void debug_test_scene(iLoadScreen& ls);

    // The demo start: sleep 100 ms, start the music, reset the clock to 0.
    // On the monotonic clock and a device that says when its samples are
    // heard, the music follows the clock from here on (place_music).
    void start();
    // Once a frame, after its clock is final: the music at this frame's
    // demo time is to be heard when its picture reaches the screen,
    // pictureDelayMs after the clock reading, plus the viewer's own offset.
    // Nothing unless the music follows the clock.
    void place_music(int pictureDelayMs);
    // Sound later (positive) or earlier than the picture, in ms: for a
    // screen or an amplifier that adds a delay of its own.
    void set_av_offset(int ms) { m_avOffsetMs = ms; }
    int av_offset() const { return m_avOffsetMs; }
    void advance_clock() { m_clock.advance(); }
    int demo_time() const { return m_clock.demo_time(); }
    // Fires due events; true when the start jump happened in this call.
    bool dispatch_events();
    // Fires the events from the cursor on whose time is strictly less than t.
    void fire_due(int t);
    // Where the first frame's start jump lands instead of the s00 marker
    // (which must still exist). Events at that time count as played unless
    // replayEventsAt is true.
    void start_at(int ms, bool replayEventsAt);
    bool start_jump_pending() const { return m_startJump; }
    // The current scene's draw, or a warning when there is none.
    void draw_current();
    void toggle_pause();
    // Clock, music and queue to ms. Events at ms count as past, unless
    // replayEventsAt is true: then they fire on the next frame (a loop that
    // wraps to its start, a jump to a marker).
    void seek(int ms, bool replayEventsAt = false);
    void set_volume(int v) { m_sound.set_volume(v); }

    // The t key flips the toggle; the main loop compares it with last
    // frame's copy to force one panel rebuild.
    void flip_gui_toggle() { m_guiToggle ^= 1; }
    // True once after each flip.
    bool gui_toggle_changed();

    DemoClock& clock() { return m_clock; }
    cSoundModule_fmod& sound() { return m_sound; }

    static const char* const MARKER_SCRIPT_PATH;

private:
    // A warning naming the music and both lengths when the music ends
    // before the quit marker.
    void warn_if_music_ends_early();
    cEventQueue* m_queue = nullptr;
    std::vector<cScene*> m_scenes;
    std::map<std::string, cScene*> m_names;
    cScene* m_current = nullptr;
    cSoundModule_fmod m_sound;
    DemoClock m_clock;
    unsigned char m_guiToggle = 0;
    unsigned char m_guiTogglePrev = 0;
    bool m_startJump = true;  // the first dispatch jumps to the s00 marker
    int m_startAt = -1;       // or here, when set
    bool m_startReplays = false;
    int m_avOffsetMs = 0;
};
