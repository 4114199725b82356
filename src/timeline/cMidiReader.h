#pragma once
// The MIDI reader: puts the notes, controllers and beats of a Standard MIDI
// File onto the timeline.
//
// Only note on (0x90), note off (0x80) and controller (0xB0) events of MIDI
// channel 1 become events; one beat event is added per beat of the tempo.
// There is no tempo map: the last tempo event in track order converts every
// tick of the file. Track names and the controller numbers used are kept
// with the queue.
//
// Parsing works on bytes in memory and never reads outside them: a length
// that runs past its track or the file is a format error naming the track
// and the byte offset.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "timeline/cEventQueue.h"

struct MidiChannelEvent {
    uint64_t tick;
    uint8_t status;
    uint8_t data1;
    uint8_t data2;
};

struct MidiTrack {
    size_t start = 0;  // first data byte in the file
    size_t end = 0;    // one past the last
    std::string name;
    std::vector<MidiChannelEvent> events;
};

struct MidiFile {
    int format = 0;
    int declaredTracks = 0;
    int division = 0;  // signed: > 0 ticks per quarter note, else SMPTE
    double secondsPerTick = 0.0;
    uint64_t longestTicks = 0;
    std::vector<MidiTrack> tracks;
};

class cMidiReader {
public:
    // Parses a whole file held in memory, printing its progress lines to
    // log. False on a format error, whose message is then in error.
    static bool parse(const uint8_t* data, size_t size, MidiFile& out, std::string& error,
                      std::ostream& log = std::cout);

    // Appends the parsed file's channel-1 events and its beat events to the
    // queue, records track names and controllers, and sorts the queue.
    static void append_to_queue(const MidiFile& file, cEventQueue& queue, float beatOffset,
                                std::ostream& log = std::cout);

    // What the show does at start-up: a missing file is reported and
    // skipped; a format error ends the process with exit code 1.
    static void read_file(const std::string& path, cEventQueue& queue, float beatOffset);

    // Beyond this many beat events (over five hours at 300 bpm) a file is
    // not a song; the rest are dropped.
    static constexpr size_t MAX_BEATS = 100000;
};
