#pragma once
// Turns the hand-written marker script into an event queue.
//
// The script is plain text, one timed token per line:
//     s00 00:00:00,000      scene markers s00..s21, s100 (s00 starts the show)
//     snare 0:0:12:500      musical cues: beat snare rumble fadein bwab1 ...
//     quit 0:1:33:000       the end of the show
//     # a comment
// The time has four fields (hours, minutes, seconds, milliseconds) separated
// by ',' or ':' in any mix. Lines starting with a digit are skipped silently;
// unknown tokens and lines without a complete time are skipped with a
// warning on standard error. A line longer than 511 characters ends loading.
#include <cstddef>
#include <iostream>
#include <string>
#include <vector>

#include "timeline/cEventQueue.h"

class cEventQueue_factory {
public:
    // Reads and parses the file; its warnings name it ("PATH:LINE: ...").
    // Null when it cannot be opened (after printing "Error reading file ..."
    // to standard output).
    static cEventQueue* loadFile(const std::string& path);
    static cEventQueue* loadFile(const std::string& path, std::ostream& warn);

    // Parses a script held in memory. Never null. `source`, the path the
    // bytes were read from, names the file in warnings.
    static cEventQueue* parse(const char* data, size_t size, std::ostream& warn = std::cerr,
                              const std::string& source = std::string());

    // The id of a script token (see cEvent.h); -1 for comments and, with a
    // warning, for unknown tokens. A lineNo above 0 names the line in it,
    // a source the file.
    static int eventtoken_parse(const std::string& token, std::ostream& warn = std::cerr, int lineNo = 0,
                                const std::string& source = std::string());

    // One line (without its line end) as an event; id -1 when the line
    // yields nothing. lineNo and source only name the place in warnings.
    static cEvent* parse_line(const std::string& line, int lineNo, std::ostream& warn = std::cerr,
                              const std::string& source = std::string());

    // Four fields hours, minutes, seconds, milliseconds separated by ',' or
    // ':'. False when a field is missing or not a number, or the result does
    // not fit demo time.
    static bool parse_time(const std::string& text, int& ms);

    // "beat" ... "sinus_in", in id order from DE_BEAT.
    static const std::vector<std::string>& musical_tokens();

    // Longest line the script format allows, without its line end.
    static constexpr size_t MAX_LINE = 511;
};
