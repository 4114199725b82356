#pragma once
// The show's command line.
//
// "--use_kkapture": true when any argument after the program name is
// exactly that text. The tuning options place and repeat the show:
//     --from TIME|MARKER   start there instead of at the start marker
//                          (also --from=TIME|MARKER)
//     --loop A B           play A..B over and over (times or markers)
//     --watch              reload shaders, the marker script and textures
//                          when their files change
//     --av-offset MS       the sound MS milliseconds later than the picture
//                          (negative: earlier), for a screen or amplifier
//                          with a delay of its own (also --av-offset=MS)
// The render scale:
//     --scale F            make the pictures at F (0.25 to 1) of the
//                          window's size and stretch them over it
//     --fps-target N       without --scale, the frame rate the automatic
//                          scale holds (1 to 1000, default 30)
// TIME is seconds ("38.5") or a time code ("00:00:38,500"); MARKER a token
// of the marker script ("s05"). Other arguments are ignored.
#include <string>

class cEventQueue;

bool capture_flag(int argc, const char* const* argv);

struct ShowOptions {
    bool capture = false;
    bool watch = false;
    std::string from;                // empty: the start marker
    std::string loopStart, loopEnd;  // both empty: no loop
    int avOffsetMs = 0;
    float scale = 0.f;               // 0: chosen from frame times
    int fpsTarget = 30;
};

// The largest --av-offset taken, either way.
constexpr int MAX_AV_OFFSET_MS = 5000;

// False with a one-line reason in `error` when an option lacks its values.
bool parse_show_options(int argc, const char* const* argv, ShowOptions& o, std::string& error);

// The options' places resolved against the marker script.
struct ShowPlacement {
    int fromMs = -1;  // -1: the start marker
    bool loop = false;
    int loopStart = -1, loopEnd = -1;
    std::string loopStartMarker, loopEndMarker;  // the tokens, when markers were given
    int avOffsetMs = 0;
};

// Checks that every place exists and lies in the show (from the start
// marker up to the quit marker) and that a loop ends after it starts.
bool place_show_options(const cEventQueue& script, const ShowOptions& o, ShowPlacement& p, std::string& error);
