#include "timeline/iMidiEvent.h"

bool is_note_on(const cEvent* e, int track, int note)
{
    if (!e || e->id != DE_MIDI)
        return false;
    const cMETrigger* t = dynamic_cast<const cMETrigger*>(e);
    return t && t->kind == iMidiEvent::KIND_NOTE_ON && t->track == track && (note < 0 || t->data1 == note);
}
