#pragma once
// The event pump and the key commands of the show.
#include "platform/cInputState.h"

// What keys and window events ask the demo to do.
class iDemoCommands {
public:
    virtual ~iDemoCommands() = default;
    virtual void quit() = 0;             // q, Esc, window close
    virtual void dump_time_code() = 0;   // space
    virtual void toggle_mute() = 0;      // m
    virtual void toggle_pause() = 0;     // p
    virtual void flip_gui_toggle() = 0;  // t
    // The pointer moved or a button went down (window units).
    virtual void pointer(float, float) {}
    // Tuning a section: the loop's bounds at the nearest marker, the loop
    // on and off, and jumps to the previous and next marker.
    virtual void set_loop_start() {}   // [
    virtual void set_loop_end() {}     // ]
    virtual void toggle_loop() {}      // l
    virtual void previous_marker() {}  // ,
    virtual void next_marker() {}      // .
};

constexpr int MAX_EVENTS_PER_FRAME = 10;

// Drains at most max_events SDL events into the input state, leaving the
// rest queued for the next frame. Returns how many were handled.
int pump_events(cInputState& in, iDemoCommands& commands, int max_events = MAX_EVENTS_PER_FRAME);

// Runs the command of each held key that has one and forgets that key, so
// a held key acts once per press; keys without a command stay held.
void process_keys(cInputState& in, iDemoCommands& commands);

// Pointer position in window units (origin bottom-left) from SDL's pixel
// position, with the window configuration's size.
void window_units(int px, int py, float out[3]);
