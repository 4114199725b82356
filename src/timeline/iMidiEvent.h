#pragma once
// MIDI events on the timeline: notes and controllers of MIDI channel 1,
// all with id DE_MIDI. cMETrigger carries note on (kind 1) and note off
// (kind 2), cMECtrlChange controller changes (kind 3); the class tells them
// apart at run time. Beat events are plain cEvents with id DE_MIDI_BEAT.
#include "timeline/cEvent.h"

class iMidiEvent : public cEvent {
public:
    enum { KIND_NOTE_ON = 1, KIND_NOTE_OFF = 2, KIND_CONTROLLER = 3 };

    iMidiEvent(int time_, int kind_, int track_, int data1_, int data2_)
        : cEvent(DE_MIDI, time_), kind(kind_), track(track_), data1(data1_), data2(data2_) {}

    int kind;
    int track = -1;  // index of the MIDI track, in file order
    int data1;       // note number or controller number
    int data2;       // velocity or controller value
};

class cMETrigger : public iMidiEvent {
public:
    using iMidiEvent::iMidiEvent;
};

class cMECtrlChange : public iMidiEvent {
public:
    cMECtrlChange(int time_, int track_, int controller, int value)
        : iMidiEvent(time_, KIND_CONTROLLER, track_, controller, value) {}
};

// True for a note on of the given track (any note when note < 0).
bool is_note_on(const cEvent* e, int track, int note = -1);
