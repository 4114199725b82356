#pragma once
// The nine scenes as the show registers them, on the frame-stepped clock,
// with the composition's timeline built without loading any picture and a
// start marker and the given notes on the event queue.
#include <map>
#include <string>
#include <vector>

#include "platform/cFrameStepTimeSource.h"
#include "runtime/cSceneManager.h"
#include "scenes/cSceneBlacknWhite.h"
#include "scenes/cSceneComposition.h"
#include "scenes/cSceneMandalaCube.h"
#include "scenes/cSceneSmurf.h"
#include "scenes/cSceneSpike.h"
#include "scenes/cSceneTitle.h"

struct Note {
    int ms, track, key;
};

class TimelineShow {
public:
    // Frames frameMs apart; the show starts at startMs (the start marker
    // when 0). Without withTitle the title's class is not registered.
    explicit TimelineShow(bool withTitle = true, double frameMs = 40.0, int startMs = 0,
                          const std::vector<Note>& notes = {});
    // One frame at t, the clock set there by hand: update, then what draw
    // records. Events do not fire.
    bool frame(int t);
    // One frame as the main loop runs it at the clock's own pace: clock,
    // events, update, draw.
    void step();
    // Steps while the next frame comes before t, then presents one frame at
    // exactly t (a frame that happens to come late).
    void play_to(int t);
    // Every variable of every layer scene, every layer's opacity and the
    // active layers; not the cube's spin angle, which the cube turns itself
    // at every frame it plays (and a note resets), whatever the timeline says.
    std::map<std::string, std::string> values();

    cFrameStepTimeSource source;
    cSceneManager manager;
    cSceneComposition* comp;
    cSceneMandalaCube* cube;
    cSceneSpike* spike;
    cSceneBlacknWhite* star;
    cSceneTitle* title = nullptr;
    cSceneSmurf* head;
    std::vector<int> frames;  // demo time of every frame presented
};
