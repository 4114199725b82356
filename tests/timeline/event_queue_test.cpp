// The play cursor: what fires when, and what the searches around the cursor
// see.
#include <gtest/gtest.h>

#include <initializer_list>

#include "timeline/cEventQueue.h"
#include "timeline/cEventWindow.h"
#include "timeline/iMidiEvent.h"

namespace {
float smoothstepf(float x)
{
    return x * x * (3.f - 2.f * x);
}

struct IdIs : iEventMatch {
    explicit IdIs(int id) : id(id) {}
    bool match(const cEvent* e) const override { return e && e->id == id; }
    int id;
};

void fill(cEventQueue& q, std::initializer_list<std::pair<int, int>> idTimes)
{
    for (auto [id, t] : idTimes)
        q.append(new cEvent(id, t));
    q.sort();
    q.rewind();
}
}  // namespace

TEST(EventQueue, NextDueIsStrictlyBeforeTheTime)
{
    cEventQueue q;
    fill(q, {{1, 1000}, {2, 2000}, {3, 2000}});
    cEvent* e = q.next_due(2000);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->id, 1);
    EXPECT_EQ(q.next_due(2000), nullptr);
    EXPECT_EQ(q.next_due(2001)->id, 2);
    EXPECT_EQ(q.next_due(2001)->id, 3);
    EXPECT_EQ(q.next_due(1000000), nullptr);
}

TEST(EventQueue, SeekTreatsEventsAtTheTimeAsPast)
{
    cEventQueue q;
    fill(q, {{1, 1000}, {2, 2000}, {3, 2000}, {4, 3000}});
    q.seek(2000);
    EXPECT_EQ(q.cursor(), 3u);
    q.seek(-5);
    EXPECT_EQ(q.cursor(), 0u);
    q.seek(3000);
    EXPECT_EQ(q.cursor(), 4u);
    EXPECT_EQ(q.next_due(999999), nullptr);
    // Seeking back re-arms everything after the new time.
    q.seek(1000);
    EXPECT_EQ(q.next_due(5000)->id, 2);
}

TEST(EventQueue, StartMarkerMovesTheCursorPastIt)
{
    cEventQueue q;
    fill(q, {{DE_SNARE, 500}, {0, 20000}, {DE_QUIT, 30000}, {0, 40000}});
    EXPECT_EQ(q.find_start_marker(), 20000);
    EXPECT_EQ(q.cursor(), 2u);
    EXPECT_EQ(q.find_start_marker(), 40000);
    EXPECT_EQ(q.find_start_marker(), -1);
    EXPECT_EQ(q.cursor(), 4u);

    cEventQueue none;
    fill(none, {{1, 0}});
    EXPECT_EQ(none.find_start_marker(), -1);
    EXPECT_EQ(none.cursor(), 0u);
}

TEST(EventQueue, SearchesAroundTheCursorLeaveItAlone)
{
    cEventQueue q;
    fill(q, {{5, 100}, {6, 200}, {5, 300}, {DE_QUIT, 400}, {6, 500}});
    q.next_due(150);  // cursor on the second event
    ASSERT_EQ(q.cursor(), 1u);
    // find_prev tests the first event too.
    EXPECT_EQ(q.find_prev(IdIs(5))->time, 100);
    EXPECT_EQ(q.find_prev(IdIs(6)), nullptr);
    // find_next includes the event at the cursor.
    EXPECT_EQ(q.find_next(IdIs(6))->time, 200);
    EXPECT_EQ(q.find_next(IdIs(5))->time, 300);
    EXPECT_EQ(q.find_quit()->time, 400);
    EXPECT_EQ(q.cursor(), 1u);
    q.seek(450);
    EXPECT_EQ(q.find_quit(), nullptr);
    EXPECT_EQ(q.find_prev(IdIs(DE_QUIT))->time, 400);
}

TEST(EventQueue, EmptyQueueAndClear)
{
    cEventQueue q;
    q.rewind();
    EXPECT_EQ(q.next_due(1 << 30), nullptr);
    EXPECT_EQ(q.find_start_marker(), -1);
    EXPECT_EQ(q.find_prev(IdIs(0)), nullptr);
    fill(q, {{0, 1}, {1, 2}});
    q.next_due(100);
    q.clear();
    EXPECT_EQ(q.size(), 0u);
    EXPECT_EQ(q.next_due(100), nullptr);
}

TEST(EventWindow, RisesBeforeANoteAndFallsAfterIt)
{
    cEventQueue q;
    q.append(new cMETrigger(1000, iMidiEvent::KIND_NOTE_ON, 2, 36, 100));
    q.append(new cMETrigger(1050, iMidiEvent::KIND_NOTE_OFF, 2, 36, 0));
    q.append(new cMETrigger(1000, iMidiEvent::KIND_NOTE_ON, 3, 36, 100));  // other track
    q.sort();
    q.rewind();
    cEventWindow w(100.f, 100.f, 2);
    EXPECT_FLOAT_EQ(w.envelope_at(800, q), 0.f);
    EXPECT_FLOAT_EQ(w.envelope_at(950, q), 0.5f);  // smoothstep(0.5)
    EXPECT_FLOAT_EQ(w.envelope_at(1000, q), 1.f);
    // The note has fired: it is now behind the cursor.
    while (q.next_due(1001)) {
    }
    EXPECT_FLOAT_EQ(w.envelope_at(1001, q), smoothstepf(0.99f));
    EXPECT_FLOAT_EQ(w.envelope_at(1050, q), 0.5f);
    EXPECT_FLOAT_EQ(w.envelope_at(1200, q), 0.f);
}

TEST(EventWindow, TwoCloseNotesAddUp)
{
    cEventQueue q;
    q.append(new cMETrigger(1000, iMidiEvent::KIND_NOTE_ON, 0, 60, 100));
    q.append(new cMETrigger(1040, iMidiEvent::KIND_NOTE_ON, 0, 62, 100));
    q.sort();
    q.rewind();
    q.next_due(1001);
    cEventWindow w(40.f, 200.f, 0);
    float v = w.envelope_at(1040, q);
    EXPECT_GT(v, 1.5f);
    EXPECT_LE(v, 2.f);
    cEventMatch_midiNote note62(0, 62);
    EXPECT_EQ(q.find_next(note62)->time, 1040);
    EXPECT_EQ(q.find_prev(note62), nullptr);
}
