#pragma once
// The event queue: the show's timeline as a time-sorted list of events with
// a play cursor.
//
// The marker script is loaded into it (cEventQueue_factory), the MIDI reader
// appends its notes, controllers and beats, and the scene manager fires
// events from the cursor as demo time passes them. Scenes search around the
// cursor for the previous or next event of some kind. The queue owns its
// events and deletes them when cleared or destroyed.
#include <cstddef>
#include <string>
#include <vector>

#include "timeline/cEvent.h"

class iEventMatch;

class cEventQueue {
public:
    cEventQueue() = default;
    ~cEventQueue();
    cEventQueue(const cEventQueue&) = delete;
    cEventQueue& operator=(const cEventQueue&) = delete;

    // Takes ownership.
    void append(cEvent* e) { m_events.push_back(e); }
    // Sorts by time. Events with equal times stay in the order they were
    // appended (script lines in file order, then MIDI tracks in file order).
    void sort();

    // The event at the cursor if its time is strictly less than t; the
    // cursor then moves past it. Otherwise null.
    cEvent* next_due(int t);
    // Cursor to the first event whose time is strictly greater than t: events
    // at or before t count as past.
    void seek(int t);
    // From the cursor on, the first s00 marker: the cursor moves just past it
    // and its time is returned. -1 (cursor unchanged) when there is none.
    int find_start_marker();
    // First match at or after the cursor; the cursor does not move.
    cEvent* find_next(const iEventMatch& m) const;
    // Nearest match before the cursor, down to the first event; the cursor
    // does not move.
    cEvent* find_prev(const iEventMatch& m) const;
    // First quit marker at or after the cursor.
    cEvent* find_quit() const;
    // Moves the MIDI events (notes, controllers, beats), the track names and
    // the controllers from `other` into this queue and sorts it: a reloaded
    // marker script keeps the music's events, to which scenes may point.
    void take_midi_from(cEventQueue& other);
    // Cursor to the first event (the end when the queue is empty).
    void rewind() { m_cursor = 0; }
    void clear();

    const std::vector<cEvent*>& events() const { return m_events; }
    std::vector<cEvent*>& events() { return m_events; }
    size_t cursor() const { return m_cursor; }
    size_t size() const { return m_events.size(); }

    std::vector<std::string>& midi_track_names() { return m_trackNames; }
    const std::vector<std::string>& midi_track_names() const { return m_trackNames; }
    std::vector<int>& midi_controllers() { return m_controllers; }
    const std::vector<int>& midi_controllers() const { return m_controllers; }

private:
    std::vector<cEvent*> m_events;
    size_t m_cursor = 0;  // == m_events.size() means "at the end"
    std::vector<std::string> m_trackNames;
    std::vector<int> m_controllers;
};
