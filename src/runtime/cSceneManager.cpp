#include "runtime/cSceneManager.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "gl/gl_check.h"
#include "platform/time_source.h"
#include "util/engine_files.h"
#include "runtime/timeline_trace.h"
#include "timeline/cEventQueue.h"
#include "timeline/cEventQueue_factory.h"
#include "util/fatal_exit.h"

const char* const cSceneManager::MARKER_SCRIPT_PATH = engine_files::MARKER_SCRIPT;

namespace {
cSceneManager* g_manager = nullptr;
}

cSceneManager::cSceneManager(iTimeSource* source)
{
    m_clock.source = source ? source : &default_time_source();
}

cSceneManager::~cSceneManager()
{
    m_sound.close();
    for (cScene* s : m_scenes)
        delete s;
    m_scenes.clear();
    m_current = nullptr;
    delete m_queue;
    m_queue = nullptr;
    m_names.clear();
}

cSceneManager* cSceneManager::get()
{
    if (!g_manager)
        g_manager = new cSceneManager();
    return g_manager;
}

void cSceneManager::destroy()
{
    delete g_manager;
    g_manager = nullptr;
}

void cSceneManager::use_time_source(iTimeSource* source)
{
    m_clock.source = source ? source : &default_time_source();
}

void cSceneManager::set_event_queue(cEventQueue* queue)
{
    delete m_queue;
    m_queue = queue;
}

void cSceneManager::init_clock()
{
    m_clock.frequency = m_clock.source->frequency();
    m_clock.advance();
    m_clock.previous = m_clock.now;
    m_clock.start = m_clock.now;
}

void cSceneManager::warn_if_music_ends_early()
{
    const cEvent* quit = m_queue ? m_queue->find_quit() : nullptr;
    const int length = m_sound.length_ms();
    if (quit && length >= 0 && length + MUSIC_TAIL_GRACE_MS < quit->time)
        std::cerr << "# WARNING: the music \"" << g_music_path << "\" is " << length
                  << " ms long, shorter than the quit marker at " << quit->time
                  << " ms: the show goes silent after the music ends" << std::endl;
}

void cSceneManager::setup(bool capture)
{
    // A line the reader has to skip is a warning naming the script's path
    // and line; the show plays on without it. `wendit check` lists it as a
    // problem and an edit under --watch is refused for it, so a typo is
    // caught where the script is written.
    cEventQueue* queue = cEventQueue_factory::loadFile(MARKER_SCRIPT_PATH, std::cerr);
    if (!queue) {
        // The show has no timeline without its script; stop here rather than
        // run on an empty queue.
        std::cerr << "## ERROR: no marker script, the show cannot start without "
                  << MARKER_SCRIPT_PATH << std::endl;
        end_process(1);
    }
    // Found out here, before the loading screen, rather than at the first
    // frame of the show.
    const auto& events = queue->events();
    if (std::none_of(events.begin(), events.end(), [](const cEvent* e) { return e->id == DE_SCENE_00; })) {
        std::cerr << "## ERROR: " << MARKER_SCRIPT_PATH << " has no s00 marker, the show has no start" << std::endl;
        std::cerr << "## DEBUG-ERROR in " << "..\\src\\cSceneManager" << " line " << 246
                  << ", event not found! Exiting..." << std::endl;
        end_process(1);
    }
    set_event_queue(queue);
    m_sound.init(capture);
    m_sound.open();
    warn_if_music_ends_early();
    init_clock();
}

cScene* cSceneManager::find_scene(const std::string& name)
{
    auto it = m_names.find(name);
    return it == m_names.end() ? nullptr : it->second;
}

bool cSceneManager::select_scene(size_t index)
{
    if (index >= m_scenes.size())
        return false;
    m_current = m_scenes[index];
    return true;
}

void cSceneManager::start()
{
    m_clock.source->sleep_ms(100);
    // The device's clock is compared with the show's: only the wall clock
    // runs at the device's pace (a frame-stepped clock does not).
    m_sound.follow_clock(m_clock.source == &default_time_source());
    m_sound.play();
    m_clock.advance();
    m_clock.start = m_clock.now - m_clock.pausedTotal;
    const char* line = "------------------------- demo start -------------------------";
    std::cerr << line << std::endl;
    std::cout << line << std::endl;
}

void cSceneManager::place_music(int pictureDelayMs)
{
    if (!m_sound.following() || m_clock.frequency <= 0)
        return;
    const int64_t heardMs = int64_t(m_clock.now) + pictureDelayMs + m_avOffsetMs;
    m_sound.place(demo_time(), heardMs * m_clock.frequency / 1000);
}

bool cSceneManager::dispatch_events()
{
    bool jumped = false;
    if (m_startJump) {
        m_startJump = false;
        int a = m_queue ? m_queue->find_start_marker() : -1;
        if (a < 0) {
            std::cerr << "## DEBUG-ERROR in " << "..\\src\\cSceneManager" << " line " << 246
                      << ", event not found! Exiting..." << std::endl;
            end_process(1);
        }
        if (m_startAt >= 0) {
            a = m_startAt;
            m_queue->seek(m_startReplays ? a - 1 : a);
        }
        if (!m_clock.paused)
            m_clock.advance();
        m_clock.start = m_clock.now - m_clock.pausedTotal - a;
        m_clock.jumps += 1;
        m_sound.set_time(a);
        if (m_current)
            m_current->restart();
        jumped = true;
    }
    fire_due(demo_time());
    return jumped;
}

void cSceneManager::start_at(int ms, bool replayEventsAt)
{
    m_startAt = ms;
    m_startReplays = replayEventsAt;
}

void cSceneManager::fire_due(int t)
{
    if (!m_queue)
        return;
    while (cEvent* e = m_queue->next_due(t)) {
        trace_event(e);
        switch (e->id) {
        case DE_MIDI:
        case DE_MIDI_BEAT:
            if (m_current)
                m_current->handleEvent(e);
            break;
        case DE_QUIT:
            end_process(0);
        default:
            if (e->id < DE_SCENE_00 || e->id > DE_SCENE_20)
                std::cerr << "unhandled demo_event: " << e->id << std::endl;
            break;
        }
    }
}

void cSceneManager::draw_current()
{
    if (m_current) {
        m_current->draw();
        if (gl_checks_on())
            gl_check_after("the scene \"" + m_current->getName() + "\"");
    } else
        std::cerr << "# warning, no scene selected in " << "cSceneManager::draw_current" << std::endl;
}

void cSceneManager::toggle_pause()
{
    m_sound.toggle_pause();
    if (m_clock.paused) {
        m_clock.paused = false;
        m_clock.previous = m_clock.now;
        m_clock.now = m_clock.counter_ms();
        m_clock.pausedTotal += m_clock.now - m_clock.previous;
    } else {
        m_clock.paused = true;
    }
}

void cSceneManager::seek(int ms, bool replayEventsAt)
{
    if (!m_clock.paused)
        m_clock.advance();
    m_clock.start = m_clock.now - m_clock.pausedTotal - ms;
    m_clock.jumps += 1;
    m_sound.set_time(ms);
    if (m_queue)
        m_queue->seek(replayEventsAt ? ms - 1 : ms);
    trace_seek(*this, ms);
}

bool cSceneManager::gui_toggle_changed()
{
    bool changed = m_guiToggle != m_guiTogglePrev;
    m_guiTogglePrev = m_guiToggle;
    return changed;
}
