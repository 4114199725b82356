#pragma once
// Timeline events.
//
// A cEvent is one timed thing on the show's timeline: a marker of the
// hand-written script (scene markers, musical cues, the end) or something
// taken from the MIDI file (notes, controllers, beats). Times are whole
// milliseconds of demo time. The event queue owns its events.
#include <string>

enum demo_event {
    DE_NONE = -1,
    DE_SCENE_00 = 0,  // "s00": the start marker
    DE_SCENE_01, DE_SCENE_02, DE_SCENE_03, DE_SCENE_04, DE_SCENE_05,
    DE_SCENE_06, DE_SCENE_07, DE_SCENE_08, DE_SCENE_09, DE_SCENE_10,
    DE_SCENE_11, DE_SCENE_12, DE_SCENE_13, DE_SCENE_14, DE_SCENE_15,
    DE_SCENE_16, DE_SCENE_17, DE_SCENE_18, DE_SCENE_19, DE_SCENE_20,
    DE_SCENE_21,
    DE_SCENE_100 = 22,  // "s100"
    DE_NUMBER = 24,     // a line starting with a digit; never queued
    DE_BEAT = 25,
    DE_SNARE,
    DE_RUMBLE,
    DE_FADEIN,
    DE_BWAB1,
    DE_BWAB2,
    DE_TECHNOFX,
    DE_TECHNOFX2,
    DE_MELODY,
    DE_LEAD,
    DE_HIHATC,
    DE_HIHATO,
    DE_SINUS_IN = 37,
    DE_MIDI = 39,       // MIDI note on, note off or controller
    DE_MIDI_BEAT = 40,  // one per beat of the MIDI tempo
    DE_QUIT = 41,       // "quit": ends the show
};

class cEvent {
public:
    cEvent() = default;
    cEvent(int id_, int time_) : id(id_), time(time_) {}
    virtual ~cEvent() = default;

    int id = DE_NONE;
    int time = -1;
};

// The script token of an id ("s07", "snare", "quit"), "midi" and "midibeat"
// for the MIDI ids, or "" for ids without a name.
std::string demo_event_name(int id);
