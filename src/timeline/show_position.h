#pragma once
// Places on the show's timeline as a person names them on the command line
// or reaches them with keys: seconds ("38" or "38.25"), a time code as the
// marker script writes it ("00:00:38,000", "0:0:38:000"), or a marker token
// of the script ("s05", "snare", "quit").
#include <string>
#include <vector>

class cEventQueue;

// Seconds (at most millisecond precision) or a time code, in ms. False for
// anything else, negative values included.
bool parse_time_or_seconds(const std::string& text, int& ms);

// The time of the first marker-script event named `token` (MIDI events are
// not markers); -1 when there is none.
int script_marker_time(const cEventQueue& queue, const std::string& token);

// A time or a marker token, in ms; false with a one-line reason in `error`.
bool resolve_time_or_marker(const cEventQueue& queue, const std::string& text, int& ms, std::string& error);

// One stop on the timeline for the marker keys: a time at which the marker
// script has something, named after its first token there.
struct ScriptMarker {
    int time;
    std::string name;
};

// The marker script's events in time order, one entry per distinct time.
std::vector<ScriptMarker> script_markers(const cEventQueue& queue);
// The marker nearest t (the earlier one on a tie); null when there are none.
const ScriptMarker* nearest_marker(const std::vector<ScriptMarker>& markers, int t);
// The last marker before t - grace: pressed just after a marker, the key
// goes on to the one before it rather than back to the same one.
const ScriptMarker* previous_marker(const std::vector<ScriptMarker>& markers, int t, int grace);
// The first marker after t.
const ScriptMarker* next_marker(const std::vector<ScriptMarker>& markers, int t);
