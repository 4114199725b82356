#include "offline/show_stepper.h"

#include <GL/gl.h>

#include <cstdlib>
#include <string>

#include "app/engine_start.h"
#include "demo/cMorvane.h"
#include "gl/gl_state.h"
#include "offline/headless_display.h"
#include "offline/solo_layer.h"
#include "platform/cFrameStepTimeSource.h"
#include "platform/show_time_source.h"
#include "sound_player/stream_player.h"
#include "runtime/cSceneManager.h"
#include "timeline/cEventQueue.h"
#include "tweak/iVar.h"
#include "util/random_table.h"

cShowStepper::cShowStepper() = default;
cShowStepper::~cShowStepper() = default;

bool cShowStepper::open(int width, int height, int fps, std::string& error)
{
    if (!ensure_headless_display(width, height, error))
        return false;
    // The show's clock is the frame-stepped one; step_to sets it outright.
    const std::string step = std::to_string(1000.0 / fps);
    setenv("WENDIT_FRAME_MS", step.c_str(), 1);

    // No exit hook: its "requested exit" would break the rule that a
    // capture's standard output carries only its summary line.
    EngineStart start;
    start.width = width;
    start.height = height;
    start.caption = "Wendit capture";
    start.exitHook = false;
    start.returnWhenNoWindow = true;
    if (!start_engine(start, error))
        return false;

    m_sm = cSceneManager::get();
    m_sm->sound().silent = true;  // never an audio device
    m_demo.reset(new cMorvane());
    m_demo->run(true);

    // The first dispatch jumps clock and music to the start marker.
    m_sm->advance_clock();
    m_sm->dispatch_events();
    m_last = m_sm->demo_time();
    return true;
}

void cShowStepper::step_to(int t)
{
    DemoClock& clock = m_sm->clock();
    cFrameStepTimeSource* source = frame_step_source();
    // Half a millisecond into the wanted one, so the clock's conversion to
    // whole milliseconds cannot round down past it.
    source->set_ms(int64_t(clock.start) + clock.pausedTotal + t);
    source->advance_us(500);
    m_sm->advance_clock();
    m_sm->dispatch_events();
    set_random_cursor(size_t((uint64_t(uint32_t(t)) * 2654435761u) % RANDOM_TABLE_SIZE));
    if (cScene* scene = m_sm->current()) {
        hold_scrub_control(t);
        if (scene->update()) {
            m_demo->varList.clear();
            scene->fillGui(m_demo->varList);
        }
    }
    m_last = t;
}

bool cShowStepper::events_due_before(int t) const
{
    const cEventQueue* q = m_sm->event_queue();
    return q && q->cursor() < q->size() && q->events()[q->cursor()]->time < t;
}

// The composition seeks the show back to its "curtime" control when that
// lies far from the clock (a person dragged it). Offline nobody drags it:
// it is kept at the frame's time, also across the frames that are stepped
// through without being drawn.
void cShowStepper::hold_scrub_control(int t)
{
    for (const auto& row : m_demo->varList.rows()) {
        iVar* v = row.first;
        if (v && v->getName() == "curtime" && dynamic_cast<cVar<int>*>(v))
            v->setValue(&t);
    }
}

void cShowStepper::draw()
{
    if (m_solo.empty()) {
        m_demo->draw_picture();
        return;
    }
    glClearColor(0.f, 0.f, 0.f, 1.f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw_solo_layer(m_sm->current(), m_solo, m_sm->demo_time());
}

void cShowStepper::draw_masked()
{
    // Nothing in the show uses the scissor test: it stays on, one pixel
    // wide, through every pass and clear of the frame.
    glScissor(0, 0, 1, 1);
    glEnable(GL_SCISSOR_TEST);
    draw();
    glDisable(GL_SCISSOR_TEST);
}

void cShowStepper::present()
{
    swap_buffers();
}

bool cShowStepper::choose_solo(const std::string& name, std::string& error)
{
    if (!find_solo_layer(m_sm->current(), name, error))
        return false;
    m_solo = name;
    return true;
}

std::string cShowStepper::scene_name()
{
    cScene* s = m_sm->current();
    return s ? s->getName() : std::string();
}

int cShowStepper::demo_time() const
{
    return m_sm->demo_time();
}

const int16_t* cShowStepper::music(int64_t* frames) const
{
    return sp_stream_pcm(m_sm->sound().stream, frames);
}
