#pragma once
// The show, driven offline: the production assembled exactly as the show
// program assembles it, but on a manual clock that is set to each frame's
// demo time, with the music decoded and never played.
//
// A frame is: the clock set to the frame's time, the timeline events due
// before it fired, the shown scene's update, and (for frames that are kept)
// its draw into the window's back buffer. Stepping through the frames
// before a capture's range without drawing them brings every scene to the
// state it has in the show; the random table's cursor is set from each
// frame's time, so a frame's grain and flicker do not depend on how many
// frames were drawn before it. It is set after the frame's events, though:
// a scene that answers an event with random numbers (the spike ball's new
// axis on a hit) draws them from where the frame before left the cursor,
// which depends on whether that frame was drawn.
#include <cstdint>
#include <memory>
#include <string>

class cMorvane;
class cScene;
class cSceneManager;

class cShowStepper {
public:
    cShowStepper();
    ~cShowStepper();
    cShowStepper(const cShowStepper&) = delete;
    cShowStepper& operator=(const cShowStepper&) = delete;

    // Opens a width x height window (on a private headless X server where
    // DISPLAY is unset), loads GL and builds the show: marker script,
    // silent music, scenes, loading screen, MIDI file. Ends at the start
    // marker. False with a message when the window cannot be had.
    bool open(int width, int height, int fps, std::string& error);

    // Runs the show up to demo time t (ms, not before the last step):
    // clock, due events, the scrub control held at t, update.
    void step_to(int t);
    // Whether stepping to demo time t (ms) fires timeline events, that is
    // whether the next step's events see the cursor this frame leaves.
    bool events_due_before(int t) const;
    // Clears and draws the current frame into the back buffer (the solo
    // layer alone when one is chosen).
    void draw();
    // Draws the current frame with all but one pixel masked off: what the
    // drawing changes besides pixels (the random numbers it takes) at a
    // fraction of its cost. The pictures it leaves are not the frame's.
    void draw_masked();
    // Presents the back buffer (after it was read).
    void present();

    // Renders only the composition layer whose scene is called `name`;
    // false with the known names in `error` when there is none.
    bool choose_solo(const std::string& name, std::string& error);
    // The shown scene's name at the last step (the composition lists its
    // active layers).
    std::string scene_name();
    int demo_time() const;
    // The decoded music, interleaved 16-bit stereo, and its rate.
    const int16_t* music(int64_t* frames) const;
    int music_rate() const { return 44100; }

private:
    void hold_scrub_control(int t);
    cSceneManager* m_sm = nullptr;
    std::unique_ptr<cMorvane> m_demo;
    std::string m_solo;  // the layer drawn alone, by name
    int m_last = -1;
};
