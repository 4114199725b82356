#pragma once
// The production: assembles this show on the engine's demo object.
#include "demo/cDemo.h"

class cSceneManager;

class cMorvane : public cDemo {
public:
    // Throws like cDemo when a production object was made before.
    cMorvane();
    // Sets up the scene manager with the marker script and the music,
    // registers the scenes, shows the loading screen while scene 0
    // prepares, reads the MIDI file and lays out the tweak panel.
    void run(bool capture) override;
    // Registers the show's nine scenes in their order, the composition
    // first. Constructing them loads nothing: the composition's timeline
    // can be built from them (build_timeline) without a display.
    static void add_show_scenes(cSceneManager& sm);

    static const char* const MIDI_PATH;

private:
    static bool s_constructed;
};
