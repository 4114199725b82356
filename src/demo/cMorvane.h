#pragma once
// The production: assembles this show on the engine's demo object.
#include "demo/cDemo.h"

class cMorvane : public cDemo {
public:
    // Throws like cDemo when a production object was made before.
    cMorvane();
    // Sets up the scene manager with the marker script and the music,
    // registers the scenes, shows the loading screen while scene 0
    // prepares, reads the MIDI file and lays out the tweak panel.
    void run(bool capture) override;

    static const char* const MIDI_PATH;

private:
    static bool s_constructed;
};
