#include "support/timeline_show.h"

#include "scenes/cSceneCredits.h"
#include "scenes/cSceneMidiTest.h"
#include "scenes/cSceneSpacesphere.h"
#include "timeline/cEventQueue.h"
#include "timeline/iMidiEvent.h"
#include "tweak/iVar.h"

TimelineShow::TimelineShow(bool withTitle, double frameMs, int startMs, const std::vector<Note>& notes)
    : source(int(frameMs * 1000.0 + 0.5)), manager(&source)
{
    manager.init_clock();
    auto* queue = new cEventQueue();
    queue->append(new cEvent(DE_SCENE_00, 0));
    for (const Note& n : notes)
        queue->append(new cMETrigger(n.ms, iMidiEvent::KIND_NOTE_ON, n.track, n.key, 100));
    queue->sort();
    manager.set_event_queue(queue);
    comp = manager.add_scene<cSceneComposition>();
    comp->manager = &manager;
    manager.add_scene<cSceneMidiTest>();
    cube = manager.add_scene<cSceneMandalaCube>();
    spike = manager.add_scene<cSceneSpike>();
    star = manager.add_scene<cSceneBlacknWhite>();
    manager.add_scene<cSceneSpacesphere>()->queue = queue;
    if (withTitle)
        (title = manager.add_scene<cSceneTitle>())->queue = queue;
    head = manager.add_scene<cSceneSmurf>();
    manager.add_scene<cSceneCredits>();
    spike->queue = star->queue = queue;
    comp->build_timeline();
    manager.select_scene(0);
    if (startMs > 0)
        manager.start_at(startMs, false);
}

bool TimelineShow::frame(int t)
{
    source.set_ms(t);
    manager.advance_clock();
    const bool changed = comp->update();
    comp->mark_drawn(manager.demo_time());
    return changed;
}

void TimelineShow::step()
{
    manager.advance_clock();
    manager.dispatch_events();
    comp->update();
    comp->mark_drawn(manager.demo_time());
    frames.push_back(manager.demo_time());
    source.frame_presented();
}

void TimelineShow::play_to(int t)
{
    const DemoClock& clock = manager.clock();
    if (frames.empty())
        step();
    while (int(source.ms()) - clock.start - clock.pausedTotal < t)
        step();
    if (frames.back() != t) {
        source.set_ms(int64_t(clock.start) + clock.pausedTotal + t);
        step();
    }
}

std::map<std::string, std::string> TimelineShow::values()
{
    std::map<std::string, std::string> v;
    for (auto& l : comp->layers) {
        v["opacity " + std::to_string(l.first)] = std::to_string(l.second.opacity);
        for (const cSceneVar& s : l.second.scene->getVars())
            v[l.second.scene->getName() + " " + s.var->getName()] = s.var->toString();
    }
    v.erase("mandalacube rot");
    for (int n : comp->active_layers(manager.demo_time()))
        v["active layers"] += std::to_string(n) + " ";
    return v;
}
