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
    // Reads and parses the file. Null when it cannot be opened (after
    // printing "Error reading file ..." to standard output).
    static cEventQueue* loadFile(const std::string& path);

    // Parses a script held in memory. Never null.
    static cEventQueue* parse(const char* data, size_t size, std::ostream& warn = std::cerr);

    // The id of a script token (see cEvent.h); -1 for comments and, with a
    // warning, for unknown tokens. A lineNo above 0 names the line in it.
    static int eventtoken_parse(const std::string& token, std::ostream& warn = std::cerr, int lineNo = 0);

    // One line (without its line end) as an event; id -1 when the line
    // yields nothing. lineNo only names the line in warnings.
    static cEvent* parse_line(const std::string& line, int lineNo, std::ostream& warn = std::cerr);

    // Four fields hours, minutes, seconds, milliseconds separated by ',' or
    // ':'. False when a field is missing or not a number, or the result does
    // not fit demo time.
    static bool parse_time(const std::string& text, int& ms);

    // "beat" ... "sinus_in", in id order from DE_BEAT.
    static const std::vector<std::string>& musical_tokens();

    // Longest line the script format allows, without its line end.
    static constexpr size_t MAX_LINE = 511;
};
