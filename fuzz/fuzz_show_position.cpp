// libFuzzer harness: the places a person names on the command line or
// reaches with keys (TIME|MARKER), against a marker script of the input's
// choosing. The input is the script, a NUL, then places separated by NULs.
// Nothing may read outside a buffer, overflow or crash, whatever the text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"
#include "timeline/show_position.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    const char* nul = static_cast<const char*>(std::memchr(text, 0, size));
    const size_t scriptSize = nul ? size_t(nul - text) : size;
    std::ostringstream warn;
    std::unique_ptr<cEventQueue> script(cEventQueue_factory::parse(text, scriptSize, warn, "markers.txt"));
    const std::vector<ScriptMarker> markers = script_markers(*script);

    std::vector<std::string> places;
    for (size_t pos = scriptSize + 1; pos <= size && nul;) {
        const char* end = static_cast<const char*>(std::memchr(text + pos, 0, size - pos));
        const size_t len = end ? size_t(end - (text + pos)) : size - pos;
        places.emplace_back(text + pos, len);
        pos += len + 1;
        if (!end)
            break;
    }
    for (const std::string& place : places) {
        int ms = 0;
        (void)parse_time_or_seconds(place, ms);
        std::string error;
        if (resolve_time_or_marker(*script, place, ms, error)) {
            // The marker keys from there, with and without the grace.
            nearest_marker(markers, ms);
            previous_marker(markers, ms, 500);
            previous_marker(markers, ms, 0);
            next_marker(markers, ms);
        }
        script_marker_time(*script, place);
    }
    // The extremes of demo time against whatever the script holds.
    for (int t : {0, -1, 1 << 30, -(1 << 30), 2147483647, -2147483647 - 1}) {
        nearest_marker(markers, t);
        previous_marker(markers, t, 500);
        next_marker(markers, t);
    }
    return 0;
}
