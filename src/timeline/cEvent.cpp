#include "timeline/cEvent.h"

#include <cstdio>

#include "timeline/cEventQueue_factory.h"

std::string demo_event_name(int id)
{
    if (id >= DE_SCENE_00 && id <= DE_SCENE_21) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "s%02d", id);
        return buf;
    }
    switch (id) {
    case DE_SCENE_100: return "s100";
    case DE_MIDI: return "midi";
    case DE_MIDI_BEAT: return "midibeat";
    case DE_QUIT: return "quit";
    default: break;
    }
    if (id >= DE_BEAT && id <= DE_SINUS_IN)
        return cEventQueue_factory::musical_tokens()[id - DE_BEAT];
    return "";
}
