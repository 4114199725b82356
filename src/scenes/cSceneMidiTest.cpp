#include "scenes/cSceneMidiTest.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include "gui/cGuiVarList.h"
#include "render/pass_state.h"
#include "runtime/cSceneManager.h"
#include "timeline/cEventQueue.h"
#include "timeline/iMidiEvent.h"

namespace {
// Bar height, fixed by the first draw of the process.
float g_barHeight = -1.f;
}  // namespace

float cSceneMidiTest::beat_flash(int since)
{
    return std::min(std::max((1.f - float(since) / 300.f) * 0.2f, 0.f), 1.f);
}

cEventQueue* cSceneMidiTest::the_queue()
{
    return queue ? queue : cSceneManager::get()->event_queue();
}

void cSceneMidiTest::ensure_built()
{
    if (!built)
        restart();
}

void cSceneMidiTest::init()
{
    std::fill(std::begin(controllers), std::end(controllers), 0);
}

void cSceneMidiTest::restart()
{
    cEventQueue* q = the_queue();
    trackCount = q ? int(q->midi_track_names().size()) : 0;
    active.assign(size_t(trackCount), nullptr);
    noteCounts.assign(size_t(trackCount), 0u);
    labels.clear();
    histograms.clear();
    released.clear();
    for (int i = 0; i < trackCount; ++i) {
        labels.push_back(std::to_string(i));
        histograms.emplace_back();
    }
    built = 1;
}

void cSceneMidiTest::handleEvent(cEvent* e)
{
    ensure_built();
    if (!e)
        return;
    if (e->id == DE_MIDI_BEAT) {
        lastBeatTime = e->time;
        return;
    }
    if (auto* c = dynamic_cast<cMECtrlChange*>(e)) {
        if (c->data1 >= 0 && c->data1 < 128)
            controllers[c->data1] = c->data2;
        return;
    }
    auto* t = dynamic_cast<cMETrigger*>(e);
    if (!t || t->track < 0 || t->track >= trackCount)
        return;  // a track the queue does not know: nothing to light
    const size_t k = size_t(t->track);
    if (t->kind == iMidiEvent::KIND_NOTE_ON) {
        noteCounts[k] += 1;
        active[k] = t;
        histograms[k][t->data1] += 1;
    } else if (t->kind == iMidiEvent::KIND_NOTE_OFF) {
        released.push_back(t->track);
    }
}

void cSceneMidiTest::draw()
{
    ensure_built();
    const int t = demo_time();
    const float f = beat_flash(t - lastBeatTime);
    glClearColor(0.1f + f, 0.1f, 0.1f, 1.f);
    glClear(GL_COLOR_BUFFER_BIT);

    draw_bars();
    for (int k : released)
        if (k >= 0 && k < trackCount)
            active[size_t(k)] = nullptr;
    released.clear();
    glClearColor(0.f, 0.f, 0.f, 0.f);
}

void cSceneMidiTest::draw_bars()
{
    // Plain colours in window units, depth-tested; what the bars change is
    // put back for whatever draws next.
    cPassState pass(cPassOptions()
                        .save(GL_CURRENT_BIT | GL_ENABLE_BIT)
                        .off({GL_LIGHTING, GL_BLEND, GL_TEXTURE_2D, GL_TEXTURE_RECTANGLE_ARB})
                        .unit_square_on_projection());
    glEnable(GL_DEPTH_TEST);
    if (g_barHeight < 0.f && trackCount > 0)
        g_barHeight = 1.f / float(trackCount);
    const float h = g_barHeight;
    for (int i = 0; i < trackCount && h > 0.f; ++i) {
        const cMETrigger* a = active[size_t(i)];
        if (!a)
            continue;
        const float v = float(a->data1) * 2.f / 255.f;
        const float y = 1.f - h - float(i) / float(trackCount);
        glColor4f(v, v, 1.f, 1.f);
        glBegin(GL_QUADS);
        glVertex3f(0.f, y, -0.1f);
        glVertex3f(1.f, y, -0.1f);
        glVertex3f(1.f, y + h, -0.1f);
        glVertex3f(0.f, y + h, -0.1f);
        glEnd();
    }
}

bool cSceneMidiTest::update()
{
    ensure_built();
    for (int i = 0; i < trackCount; ++i) {
        std::string s = std::to_string(noteCounts[size_t(i)]) + " ";
        for (const auto& nc : histograms[size_t(i)])
            s += " " + std::to_string(nc.first) + ":" + std::to_string(nc.second);
        labels[size_t(i)] = s;
    }
    return true;
}

void cSceneMidiTest::fillGui(cGuiVarList& list)
{
    ensure_built();
    cEventQueue* q = the_queue();
    for (int i = 0; i < trackCount; ++i) {
        const std::string name = q && size_t(i) < q->midi_track_names().size() ? q->midi_track_names()[size_t(i)] : "";
        list.addText(std::to_string(i) + name, &labels[size_t(i)]);
    }
    if (!q)
        return;
    for (int c : q->midi_controllers())
        if (c >= 0 && c < 128)
            list.addInt("ctrl" + std::to_string(c), &controllers[c], 128.f);
}
