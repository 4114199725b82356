#include "timeline/cEventQueue.h"

#include <algorithm>

#include "timeline/iEventMatch.h"

cEventQueue::~cEventQueue()
{
    clear();
}

void cEventQueue::sort()
{
    // Stable, so that the order of equal times is the order of loading and
    // every run of the show fires them alike.
    std::stable_sort(m_events.begin(), m_events.end(),
                     [](const cEvent* a, const cEvent* b) { return a->time < b->time; });
}

cEvent* cEventQueue::next_due(int t)
{
    if (m_cursor < m_events.size() && m_events[m_cursor]->time < t)
        return m_events[m_cursor++];
    return nullptr;
}

void cEventQueue::seek(int t)
{
    m_cursor = 0;
    while (m_cursor < m_events.size() && m_events[m_cursor]->time <= t)
        ++m_cursor;
}

int cEventQueue::find_start_marker()
{
    for (size_t i = m_cursor; i < m_events.size(); ++i) {
        if (m_events[i]->id == DE_SCENE_00) {
            m_cursor = i + 1;
            return m_events[i]->time;
        }
    }
    return -1;
}

cEvent* cEventQueue::find_next(const iEventMatch& m) const
{
    for (size_t i = m_cursor; i < m_events.size(); ++i)
        if (m.match(m_events[i]))
            return m_events[i];
    return nullptr;
}

cEvent* cEventQueue::find_prev(const iEventMatch& m) const
{
    for (size_t i = std::min(m_cursor, m_events.size()); i-- > 0;)
        if (m.match(m_events[i]))
            return m_events[i];
    return nullptr;
}

cEvent* cEventQueue::find_quit() const
{
    for (size_t i = m_cursor; i < m_events.size(); ++i)
        if (m_events[i]->id == DE_QUIT)
            return m_events[i];
    return nullptr;
}

void cEventQueue::take_midi_from(cEventQueue& other)
{
    std::vector<cEvent*> kept;
    for (cEvent* e : other.m_events)
        (e->id == DE_MIDI || e->id == DE_MIDI_BEAT ? m_events : kept).push_back(e);
    other.m_events.swap(kept);
    other.m_cursor = 0;
    m_trackNames = std::move(other.m_trackNames);
    m_controllers = std::move(other.m_controllers);
    other.m_trackNames.clear();
    other.m_controllers.clear();
    sort();
}

void cEventQueue::clear()
{
    for (cEvent* e : m_events)
        delete e;
    m_events.clear();
    m_cursor = 0;
}
