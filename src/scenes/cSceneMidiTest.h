#pragma once
// A diagnostic view of the MIDI timeline: one horizontal bar per MIDI track
// (track 0 at the top) lights up while a note is held on it, brighter for
// higher notes; the background flashes red on every beat. The tweak panel
// lists per track how many notes arrived and which, plus a slider per MIDI
// controller used. Draws straight to the window; cannot render off screen.
#include <map>
#include <string>
#include <vector>

#include "runtime/cScene.h"

class cEventQueue;
class cMETrigger;

class cSceneMidiTest : public cScene {
public:
    explicit cSceneMidiTest(DemoClock* clock) : cScene(clock) {}
    ~cSceneMidiTest() override = default;

    std::string getName() override { return "miditest"; }
    void init() override;
    void restart() override;
    void reservedHook() override {}
    void draw() override;
    void handleEvent(cEvent* e) override;
    bool update() override;
    void fillGui(cGuiVarList& list) override;
    cTmpRT render(int) override { return cTmpRT(); }

    // The queue whose tracks and controllers are shown; the scene manager's
    // when null.
    cEventQueue* queue = nullptr;

    std::vector<const cMETrigger*> active;
    std::vector<unsigned> noteCounts;
    int trackCount = -1;
    int lastBeatTime = -10000;
    int controllers[128] = {};
    unsigned char built = 0;
    std::vector<std::string> labels;
    std::vector<std::map<int, unsigned>> histograms;
    std::vector<int> released;

    // Flash strength for a beat `since` ms ago: 0.2 right on the beat,
    // fading to 0 after 300 ms.
    static float beat_flash(int since);

private:
    // The lit tracks, one bar each, top to bottom.
    void draw_bars();
    cEventQueue* the_queue();
    void ensure_built();
};
