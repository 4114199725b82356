#pragma once
// A score: the notes and controller moves of a piece, in beats, with the
// tempo that turns beats into time. One score feeds both the MIDI file of
// the show and the synthesizer that renders its audio, so the two always
// agree on when every note falls.
#include <string>
#include <vector>

struct ScoreNote {
    int track;      // 1..7; track 0 carries tempo and names only
    double beat;    // start, in beats from the top
    double length;  // in beats
    int key;        // MIDI note number
    int velocity;   // 1..127
};

struct ScoreControl {
    int track;
    double beat;
    int controller;  // MIDI controller number (74: the lead's filter)
    int value;       // 0..127
};

struct Score {
    std::string name;
    double bpm = 120.0;
    int beatsPerBar = 4;
    double lengthBeats = 0.0;         // where the audio ends
    double fadeBeats = 0.0;           // fade-out before the end
    std::vector<std::string> tracks;  // names, index = track number
    std::vector<ScoreNote> notes;
    std::vector<ScoreControl> controls;

    double seconds(double beat) const { return beat * 60.0 / bpm; }
};

// The show's soundtrack.
Score make_gloam_score();
