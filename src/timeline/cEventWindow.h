#pragma once
// An envelope around the notes of one MIDI track: it rises from 0 to 1 over
// `before` ms ahead of the coming note on and falls back to 0 over `after`
// ms behind the last one. Scenes use it to pulse visuals on the music; two
// close notes can add up to 2.
#include "timeline/iEventMatch.h"

class cEventQueue;

class cEventWindow {
public:
    // Note ons of one track.
    class cEventMatch_midiTrack : public iEventMatch {
    public:
        explicit cEventMatch_midiTrack(int track_) : track(track_) {}
        bool match(const cEvent* e) const override;
        int track;
    };

    cEventWindow(float before_, float after_, int track_) : before(before_), after(after_), track(track_) {}

    // The envelope at demo time t (ms), from the notes around the queue's
    // cursor. In 0..2.
    float envelope_at(int t, const cEventQueue& queue) const;

    float before;  // ms
    float after;   // ms
    int track;
};

// Note ons of one track and one note number.
class cEventMatch_midiNote : public iEventMatch {
public:
    cEventMatch_midiNote(int track_, int note_) : track(track_), note(note_) {}
    bool match(const cEvent* e) const override;
    int track;
    int note;
};
