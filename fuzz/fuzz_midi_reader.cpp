// libFuzzer harness: any bytes as a MIDI file. A broken file must end in a
// format error, never in a read outside the buffer or a crash.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "timeline/cEventWindow.h"
#include "timeline/cMidiReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MidiFile f;
    std::string error;
    std::ostringstream log;
    if (!cMidiReader::parse(data, size, f, error, log))
        return 0;
    cEventQueue q;
    cMidiReader::append_to_queue(f, q, 0.5f, log);
    cEventWindow w(100.f, 100.f, 1);
    w.envelope_at(1000, q);
    return 0;
}
