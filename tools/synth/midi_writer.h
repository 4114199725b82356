#pragma once
// Writes a score as a Standard MIDI File (format 1) in the layout the show's
// reader takes: every note and controller on MIDI channel 1, note on 0x90
// and note off 0x80 written out in full (no running status), one tempo
// event, and one named track per score track, track 0 holding the tempo,
// the time signature and the piece's name.
#include <cstdint>
#include <vector>

#include "score.h"

constexpr int MIDI_TICKS_PER_QUARTER = 480;

std::vector<uint8_t> write_midi(const Score& score);
