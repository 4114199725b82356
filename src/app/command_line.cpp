#include "app/command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "timeline/show_position.h"
#include "util/time_code.h"

bool capture_flag(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i)
        if (argv[i] && std::strcmp(argv[i], "--use_kkapture") == 0)
            return true;
    return false;
}

namespace {
// The value after argv[i], which must not be missing, empty or an option.
bool take_value(int argc, const char* const* argv, int& i, std::string& out)
{
    if (i + 1 >= argc || !argv[i + 1] || !*argv[i + 1] || std::strncmp(argv[i + 1], "--", 2) == 0)
        return false;
    out = argv[++i];
    return true;
}

// The whole text as a number, nothing after it.
bool whole_number(const std::string& text, double& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end && *end == '\0' && std::isfinite(out);
}

bool is_marker_token(const cEventQueue& script, const std::string& text)
{
    int ms = 0;
    return !parse_time_or_seconds(text, ms) && script_marker_time(script, text) >= 0;
}
}  // namespace

// Whole milliseconds, signed, within MAX_AV_OFFSET_MS.
bool parse_av_offset(const std::string& text, int& ms, std::string& error)
{
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || v < -MAX_AV_OFFSET_MS || v > MAX_AV_OFFSET_MS) {
        error = "--av-offset needs whole milliseconds from -" + std::to_string(MAX_AV_OFFSET_MS) + " to " +
                std::to_string(MAX_AV_OFFSET_MS) + " (positive: the sound later), not '" + text + "'";
        return false;
    }
    ms = int(v);
    return true;
}

bool parse_show_options(int argc, const char* const* argv, ShowOptions& o, std::string& error)
{
    o.capture = capture_flag(argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (!argv[i])
            continue;
        const std::string a = argv[i];
        if (a == "--watch") {
            o.watch = true;
        } else if (a.rfind("--from=", 0) == 0) {
            o.from = a.substr(7);
            if (o.from.empty()) {
                error = "--from needs a TIME (seconds or hh:mm:ss,mmm) or a MARKER (such as s05)";
                return false;
            }
        } else if (a == "--from") {
            if (!take_value(argc, argv, i, o.from)) {
                error = "--from needs a TIME (seconds or hh:mm:ss,mmm) or a MARKER (such as s05)";
                return false;
            }
        } else if (a.rfind("--av-offset=", 0) == 0) {
            if (!parse_av_offset(a.substr(12), o.avOffsetMs, error))
                return false;
        } else if (a == "--av-offset") {
            // The value may be negative, so it is taken whatever it starts with.
            if (i + 1 >= argc || !argv[i + 1]) {
                error = "--av-offset needs a number of milliseconds (positive: the sound later)";
                return false;
            }
            if (!parse_av_offset(argv[++i], o.avOffsetMs, error))
                return false;
        } else if (a == "--scale" || a.rfind("--scale=", 0) == 0) {
            std::string v;
            double f = 0.0;
            const bool given = a == "--scale" ? take_value(argc, argv, i, v) : !(v = a.substr(8)).empty();
            if (!given || !whole_number(v, f) || f < 0.25 || f > 1.0) {
                error = "--scale needs a number from 0.25 to 1 (the share of the window's size the show is made at)" +
                        (given ? std::string(", not ") + v : std::string());
                return false;
            }
            o.scale = float(f);
        } else if (a == "--fps-target" || a.rfind("--fps-target=", 0) == 0) {
            std::string v;
            double f = 0.0;
            const bool given = a == "--fps-target" ? take_value(argc, argv, i, v) : !(v = a.substr(13)).empty();
            if (!given || !whole_number(v, f) || f != std::floor(f) || f < 1 || f > 1000) {
                error = "--fps-target needs a whole number of frames a second from 1 to 1000" +
                        (given ? std::string(", not ") + v : std::string());
                return false;
            }
            o.fpsTarget = int(f);
        } else if (a == "--loop") {
            if (!take_value(argc, argv, i, o.loopStart) || !take_value(argc, argv, i, o.loopEnd)) {
                error = "--loop needs two places, A and B: times (seconds or hh:mm:ss,mmm) or markers (such as s05)";
                return false;
            }
        }
    }
    return true;
}

bool place_show_options(const cEventQueue& script, const ShowOptions& o, ShowPlacement& p, std::string& error)
{
    p.avOffsetMs = o.avOffsetMs;
    const int first = script_marker_time(script, "s00");
    const int quit = script_marker_time(script, "quit");
    if (first < 0) {
        error = "the marker script has no start marker (s00)";
        return false;
    }
    auto place = [&](const char* option, const std::string& text, int& ms) {
        if (!resolve_time_or_marker(script, text, ms, error)) {
            error = std::string(option) + ": " + error;
            return false;
        }
        if (ms < first || (quit >= 0 && ms > quit)) {
            error = std::string(option) + " " + text + ": " + time_code(ms) + " lies outside the show (" +
                    time_code(first) + " to " + (quit >= 0 ? time_code(quit) : std::string("the end")) + ")";
            return false;
        }
        return true;
    };
    if (!o.from.empty()) {
        if (!place("--from", o.from, p.fromMs))
            return false;
        if (quit >= 0 && p.fromMs >= quit) {
            error = "--from " + o.from + ": the show ends there (quit at " + time_code(quit) + ")";
            return false;
        }
    }
    if (!o.loopStart.empty()) {
        if (!place("--loop", o.loopStart, p.loopStart) || !place("--loop", o.loopEnd, p.loopEnd))
            return false;
        if (p.loopEnd <= p.loopStart) {
            error = "--loop " + o.loopStart + " " + o.loopEnd + ": the end (" + time_code(p.loopEnd) +
                    ") must come after the start (" + time_code(p.loopStart) + ")";
            return false;
        }
        p.loop = true;
        if (is_marker_token(script, o.loopStart))
            p.loopStartMarker = o.loopStart;
        if (is_marker_token(script, o.loopEnd))
            p.loopEndMarker = o.loopEnd;
    }
    return true;
}
