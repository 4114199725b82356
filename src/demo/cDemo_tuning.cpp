// The demo's tuning commands: start anywhere, loop a section, step between
// markers, and take in files changed while the show plays.
#include <iostream>

#include "app/command_line.h"
#include "demo/cDemo.h"
#include "demo/cLiveReload.h"
#include "runtime/cSceneManager.h"
#include "timeline/cEventQueue.h"
#include "timeline/show_position.h"
#include "util/time_code.h"

namespace {
// Pressed within this much after a marker, the "," key goes on to the one
// before it, so that pressing it repeatedly steps back.
constexpr int PREVIOUS_GRACE_MS = 500;

std::vector<ScriptMarker> markers_of(cSceneManager* sm)
{
    const cEventQueue* q = sm->event_queue();
    return q ? script_markers(*q) : std::vector<ScriptMarker>();
}

std::string marker_text(const ScriptMarker& m)
{
    return m.name + " " + time_code(m.time);
}
}  // namespace

void cDemo::tune(const ShowPlacement& p, bool watch)
{
    cSceneManager* sm = manager();
    sm->set_av_offset(p.avOffsetMs);
    if (p.loop) {
        loop.on = true;
        loop.start = p.loopStart;
        loop.end = p.loopEnd;
        loop.startMarker = p.loopStartMarker;
        loop.endMarker = p.loopEndMarker;
        std::cerr << "# loop on: " << loop.describe() << std::endl;
    }
    if (p.fromMs >= 0)
        sm->start_at(p.fromMs, false);
    else if (p.loop)
        sm->start_at(p.loopStart, true);  // the first pass plays like every other
    if (watch) {
        liveReload.reset(new cLiveReload());
        if (!liveReload->start(std::cerr))
            liveReload.reset();
    }
}

bool cDemo::wrap_loop()
{
    cSceneManager* sm = manager();
    if (sm->start_jump_pending() || !loop.due(sm->demo_time()))
        return false;
    sm->fire_due(loop.end);
    sm->seek(loop.start, true);
    return true;
}

void cDemo::reload_changes()
{
    // Before the first frame's start jump the queue is not yet placed;
    // changes wait in the watch until then.
    if (manager()->start_jump_pending())
        return;
    if (liveReload && liveReload->poll(*manager(), std::cerr) && manager()->event_queue())
        loop.follow_markers(*manager()->event_queue());
}

void cDemo::set_loop_start()
{
    const auto markers = markers_of(manager());
    if (const ScriptMarker* m = nearest_marker(markers, manager()->demo_time())) {
        loop.start = m->time;
        loop.startMarker = m->name;
        std::cerr << "loop start: " << marker_text(*m) << std::endl;
    }
}

void cDemo::set_loop_end()
{
    const auto markers = markers_of(manager());
    if (const ScriptMarker* m = nearest_marker(markers, manager()->demo_time())) {
        loop.end = m->time;
        loop.endMarker = m->name;
        std::cerr << "loop end: " << marker_text(*m) << std::endl;
    }
}

void cDemo::toggle_loop()
{
    if (!loop.on && !loop.valid()) {
        std::cerr << "loop: " << loop.describe() << " is no section: set its start with [ and its end with ]"
                  << std::endl;
        return;
    }
    loop.on = !loop.on;
    std::cerr << (loop.on ? "loop on: " + loop.describe() : std::string("loop off")) << std::endl;
}

void cDemo::previous_marker()
{
    cSceneManager* sm = manager();
    const auto markers = markers_of(sm);
    if (const ScriptMarker* m = ::previous_marker(markers, sm->demo_time(), PREVIOUS_GRACE_MS)) {
        sm->seek(m->time, true);
        std::cerr << "at " << marker_text(*m) << std::endl;
    }
}

void cDemo::next_marker()
{
    cSceneManager* sm = manager();
    const auto markers = markers_of(sm);
    const ScriptMarker* m = ::next_marker(markers, sm->demo_time());
    // Jumping onto the quit marker would end the show.
    if (m && m->name != "quit") {
        sm->seek(m->time, true);
        std::cerr << "at " << marker_text(*m) << std::endl;
    }
}
