#include "timeline_plot/timeline_picture.h"

#include <algorithm>
#include <map>

#include "demo/cMorvane.h"
#include "platform/cFrameStepTimeSource.h"
#include "post/post_params.h"
#include "runtime/cInterpolator.h"
#include "runtime/cSceneManager.h"
#include "scenes/cSceneComposition.h"
#include "scenes/cSceneCredits.h"
#include "timeline/cEvent.h"
#include "timeline/cEventQueue.h"
#include "timeline/iMidiEvent.h"
#include "tweak/iVar.h"
#include "util/printable_text.h"

namespace {
// The target's value as a float (the show animates ints and floats).
bool read_value(iVar* v, float& out)
{
    if (auto* f = dynamic_cast<cVar<float>*>(v)) {
        out = *static_cast<float*>(f->getPointer());
        return true;
    }
    if (auto* i = dynamic_cast<cVar<int>*>(v)) {
        out = float(*static_cast<int*>(i->getPointer()));
        return true;
    }
    return false;
}

// The curve of one interpolator: its kind and values, and what it writes
// across its window, asked of the interpolator itself. The target's value
// is put back afterwards.
bool curve_of(cInterpolator* in, PlotCurve& c)
{
    iVar* target = in->target;
    float saved = 0.f;
    if (!target || !read_value(target, saved))
        return false;
    c.start = in->start;
    c.end = in->end;
    if (auto* l = dynamic_cast<cLerp<float>*>(in)) {
        c.kind = PlotCurve::lerp;
        c.from = l->from, c.to = l->to;
    } else if (auto* s = dynamic_cast<cSmoothStep<float>*>(in)) {
        c.kind = PlotCurve::smooth;
        c.from = s->from, c.to = s->to;
    } else if (auto* si = dynamic_cast<cSetVar<int>*>(in)) {
        c.kind = PlotCurve::set;
        c.from = c.to = float(si->value);
    } else if (auto* sf = dynamic_cast<cSetVar<float>*>(in)) {
        c.kind = PlotCurve::set;
        c.from = c.to = sf->value;
    } else {
        return false;
    }
    const int64_t span = int64_t(c.end) - c.start;
    const int steps = c.kind == PlotCurve::set ? 1 : int(std::min<int64_t>(std::max<int64_t>(span / 10, 1), 400));
    for (int i = 0; i <= steps; ++i) {
        int t = int(c.start + span * i / steps);
        in->apply(&t);
        float v = 0.f;
        read_value(target, v);
        c.samples.emplace_back(t, v);
    }
    if (auto* f = dynamic_cast<cVar<float>*>(target))
        f->setValue(&saved);
    else if (auto* i = dynamic_cast<cVar<int>*>(target)) {
        int v = int(saved);
        i->setValue(&v);
    }
    return true;
}

bool is_scene_marker(int id)
{
    return (id >= DE_SCENE_00 && id <= DE_SCENE_100) || id == DE_QUIT;
}
}  // namespace

float PlotCurve::at(int t) const
{
    if (samples.empty())
        return from;
    if (t <= samples.front().first)
        return samples.front().second;
    for (size_t i = 1; i < samples.size(); ++i) {
        const auto& a = samples[i - 1];
        const auto& b = samples[i];
        if (t <= b.first) {
            if (b.first == a.first)
                return b.second;
            const float u = float(t - a.first) / float(b.first - a.first);
            return a.second + (b.second - a.second) * u;
        }
    }
    return samples.back().second;
}

float value_at(const std::vector<PlotCurve>& curves, int t, float before)
{
    const PlotCurve* active = nullptr;
    const PlotCurve* ended = nullptr;
    for (const PlotCurve& c : curves) {
        if (c.start <= t && t <= c.end)
            active = &c;
        else if (c.end < t && (!ended || c.end >= ended->end))
            ended = &c;
    }
    if (active)
        return active->at(t);
    return ended ? ended->to : before;
}

float PlotLayer::opacity_at(int t) const
{
    if (t < start || t > end)
        return 0.f;
    return value_at(opacity, t, 1.f);
}

const char* comp_mode_name(int mode)
{
    switch (mode) {
        case COMP_OVER: return "blend";
        case COMP_ADD: return "add";
        case COMP_SCREEN: return "screen";
        case COMP_DODGE: return "dodge";
        case COMP_MODULATE: return "modulate";
    }
    return "?";
}

void add_composition(TimelinePicture& p, cSceneComposition& comp)
{
    // Which layer an opacity belongs to, and which scene and name a
    // variable has: found by the address the interpolator writes to.
    std::map<const void*, size_t> opacityOf;
    std::map<const void*, std::pair<std::string, std::string>> varOf;
    for (auto& entry : comp.layers) {
        CompositionLayer& l = entry.second;
        PlotLayer pl;
        pl.number = entry.first;
        pl.scene = l.scene ? l.scene->getName() : "?";
        // The credits page answers to the title's name; the picture tells them apart.
        if (dynamic_cast<cSceneCredits*>(l.scene))
            pl.scene = "credits";
        pl.start = l.start;
        pl.end = l.end;
        pl.mode = l.mode;
        opacityOf[&l.opacity] = p.layers.size();
        p.layers.push_back(pl);
        if (!l.scene)
            continue;
        for (const cSceneVar& v : l.scene->getVars())
            if (v.var && v.var->getPointer())
                varOf.emplace(v.var->getPointer(), std::make_pair(pl.scene, v.var->getName()));
    }

    std::map<std::pair<std::string, std::string>, size_t> variableIndex;
    for (cInterpolator* in : comp.interpolators) {
        PlotCurve c;
        if (!in->target || !curve_of(in, c))
            continue;
        const void* where = in->target->getPointer();
        auto layer = opacityOf.find(where);
        if (layer != opacityOf.end()) {
            p.layers[layer->second].opacity.push_back(c);
            continue;
        }
        auto var = varOf.find(where);
        const auto key = var != varOf.end() ? var->second : std::make_pair(std::string("?"), in->target->getName());
        auto it = variableIndex.find(key);
        if (it == variableIndex.end()) {
            it = variableIndex.emplace(key, p.variables.size()).first;
            PlotVariable v;
            v.scene = key.first;
            v.name = key.second;
            v.lo = v.hi = c.from;
            p.variables.push_back(v);
        }
        PlotVariable& v = p.variables[it->second];
        v.lo = std::min({v.lo, c.from, c.to});
        v.hi = std::max({v.hi, c.from, c.to});
        v.curves.push_back(c);
    }
    // Lanes grouped by scene in layer order, each scene's variables by their first window.
    std::map<std::string, int> sceneOrder;
    for (const PlotLayer& l : p.layers)
        sceneOrder.emplace(l.scene, l.number);
    std::stable_sort(p.variables.begin(), p.variables.end(), [&](const PlotVariable& a, const PlotVariable& b) {
        const int sa = sceneOrder.count(a.scene) ? sceneOrder[a.scene] : 1 << 30;
        const int sb = sceneOrder.count(b.scene) ? sceneOrder[b.scene] : 1 << 30;
        if (sa != sb)
            return sa < sb;
        return a.curves.front().start < b.curves.front().start;
    });
}

void add_events(TimelinePicture& p, const cEventQueue& queue)
{
    std::map<int, size_t> trackIndex;
    for (const cEvent* e : queue.events()) {
        if (const auto* m = dynamic_cast<const iMidiEvent*>(e)) {
            if (m->kind != iMidiEvent::KIND_NOTE_ON || m->data2 == 0)
                continue;
            auto it = trackIndex.find(m->track);
            if (it == trackIndex.end()) {
                PlotTrack t;
                t.index = m->track;
                const auto& names = queue.midi_track_names();
                t.name = m->track >= 0 && size_t(m->track) < names.size() ? one_line(names[m->track]) : "";
                it = trackIndex.emplace(m->track, p.tracks.size()).first;
                p.tracks.push_back(t);
            }
            PlotTrack& t = p.tracks[it->second];
            t.notes.push_back(PlotNote{m->time, m->data1, m->data2});
            t.lowKey = std::min(t.lowKey, m->data1);
            t.highKey = std::max(t.highKey, m->data1);
            continue;
        }
        if (e->id < 0 || e->id == DE_MIDI || e->id == DE_MIDI_BEAT)
            continue;
        if (!p.markers.empty() && p.markers.back().ms == e->time) {
            p.markers.back().text += std::string(" ") + demo_event_name(e->id);
            p.markers.back().scene = p.markers.back().scene || is_scene_marker(e->id);
        } else {
            p.markers.push_back(PlotMarker{e->time, demo_event_name(e->id), is_scene_marker(e->id)});
        }
    }
    std::sort(p.tracks.begin(), p.tracks.end(), [](const PlotTrack& a, const PlotTrack& b) { return a.index < b.index; });
}

void add_waveform(TimelinePicture& p, const std::vector<int16_t>& pcm, int rate)
{
    PlotWave& w = p.wave;
    w.lo.clear();
    w.hi.clear();
    if (rate <= 0)
        return;
    const size_t frames = pcm.size() / 2;
    const size_t perBin = std::max<size_t>(size_t(int64_t(rate) * w.binMs / 1000), 1);
    for (size_t first = 0; first < frames; first += perBin) {
        float lo = 1.f, hi = -1.f;
        for (size_t f = first; f < std::min(frames, first + perBin); ++f) {
            const float v = (float(pcm[2 * f]) + float(pcm[2 * f + 1])) / 65536.f;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        w.lo.push_back(lo);
        w.hi.push_back(hi);
    }
}

void add_show_composition(TimelinePicture& p)
{
    // The clock is never read: the timeline is only built, not played.
    cFrameStepTimeSource source(40000);
    cSceneManager manager(&source);
    cMorvane::add_show_scenes(manager);
    cSceneComposition* comp = manager.find_scene<cSceneComposition>();
    comp->manager = &manager;
    comp->build_timeline();
    add_composition(p, *comp);
}
