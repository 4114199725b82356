// wendit timeline: loads the marker script and then the MIDI file exactly as
// the show does, and prints every queued event in the order the show fires
// them, one tab-separated line each.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "commands.h"
#include "runtime/cSceneManager.h"
#include "scenes/show_assets.h"
#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"
#include "timeline/cMidiReader.h"
#include "timeline/iMidiEvent.h"

namespace {
const char* const DEFAULT_MIDI = show_assets::MIDI_FROM_BIN;

void usage()
{
    std::cerr << "usage: wendit timeline [--markers FILE] [--midi FILE]" << std::endl;
}

// Track names come from the file: keep them on one printable line.
std::string printable(const std::string& s)
{
    std::string out;
    for (unsigned char c : s)
        out += (c < 0x20 || c == 0x7F) ? '?' : char(c);
    return out;
}
}  // namespace

int cmd_timeline(const Args& args)
{
    std::string markers = cSceneManager::MARKER_SCRIPT_PATH;
    std::string midi = DEFAULT_MIDI;
    for (size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--markers" || args[i] == "--midi") && i + 1 < args.size()) {
            (args[i] == "--markers" ? markers : midi) = args[i + 1];
            ++i;
        } else {
            std::cerr << "wendit timeline: unexpected argument '" << args[i] << "'" << std::endl;
            usage();
            return 2;
        }
    }

    std::unique_ptr<cEventQueue> queue(cEventQueue_factory::loadFile(markers));
    if (!queue) {
        std::cerr << "## ERROR: no marker script, the show cannot start without " << markers << std::endl;
        return 1;
    }
    cMidiReader::read_file(midi, *queue, 0.0f);
    queue->rewind();

    const auto& names = queue->midi_track_names();
    for (size_t i = 0; i < names.size(); ++i)
        std::cout << "# midi track " << i << ": " << printable(names[i]) << "\n";
    if (!queue->midi_controllers().empty()) {
        std::cout << "# midi controllers:";
        for (int c : queue->midi_controllers())
            std::cout << ' ' << c;
        std::cout << "\n";
    }

    std::cout << "# time_ms\tid\tname\ttrack\tkind\tdata1\tdata2\n";
    for (const cEvent* e : queue->events()) {
        std::cout << e->time << '\t' << e->id << '\t' << demo_event_name(e->id) << '\t';
        if (const iMidiEvent* m = dynamic_cast<const iMidiEvent*>(e))
            std::cout << m->track << '\t' << m->kind << '\t' << m->data1 << '\t' << m->data2 << '\n';
        else
            std::cout << "-\t-\t-\t-\n";
    }
    std::cout.flush();
    return 0;
}
