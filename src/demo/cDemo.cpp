#include "demo/cDemo.h"

#include <GL/gl.h>
#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

#include "demo/cLiveReload.h"
#include "gl/gl_extensions.h"
#include "gl/gl_state.h"
#include "platform/WindowConfig.h"
#include "platform/show_time_source.h"
#include "platform/time_source.h"
#include "render/pass_state.h"
#include "render/render_scale.h"
#include "runtime/cSceneManager.h"
#include "runtime/timeline_trace.h"
#include "util/fatal_exit.h"
#include "util/time_code.h"

namespace {
// std::exception carries no text of its own; this one says what went wrong.
class single_demo_error : public std::exception {
public:
    const char* what() const noexcept override { return "only a single demo allowed at any one time..."; }
};
}  // namespace

bool cDemo::s_constructed = false;

bool& demo_muted()
{
    static bool muted = false;
    return muted;
}

cDemo::cDemo()
{
    if (s_constructed)
        throw single_demo_error();
    s_constructed = true;
}

cDemo::~cDemo() = default;

cSceneManager* cDemo::manager() const
{
    return cSceneManager::get();
}

void cDemo::quit()
{
    end_process(0);
}

void cDemo::dump_time_code()
{
    cSceneManager* sm = manager();
    std::cerr << "-" << std::endl;
    std::cerr << time_code(sm->demo_time()) << " - " << (sm->current() ? sm->current()->getName() : std::string())
              << std::endl;
    varList.dump();
}

void cDemo::toggle_mute()
{
    bool& muted = demo_muted();
    manager()->set_volume(muted ? 100 : 0);
    muted = !muted;
}

void cDemo::toggle_pause()
{
    manager()->toggle_pause();
}

void cDemo::flip_gui_toggle()
{
    manager()->flip_gui_toggle();
}

void cDemo::pointer(float x, float y)
{
    if (window_config()->fullscreen())
        return;
    varList.handleEvent(GUI_DRAG, x, y);
}

void cDemo::main_loop()
{
    // The panel's font is read before the show starts: a damaged one is
    // reported now, not when the pointer first shows the panel.
    sceneLabel.load_font();
    manager()->start();
    request_swap_interval(1);
    for (;;)
        frame();
}

void cDemo::frame()
{
    cSceneManager* sm = manager();
    reload_changes();
    pump_events(input_state(), *this);
    // Keys that move the clock wait for the first frame's jump to the start:
    // before it the show is at no place yet, and a marker jump there would
    // leave the start jump nothing to find.
    if (!sm->start_jump_pending())
        process_keys(input_state(), *this);
    sm->advance_clock();
    wrap_loop();
    bool rebuild = sm->dispatch_events();
    sm->place_music(m_pictureDelay.estimate_ms());
    trace_frame(*sm);
    if (!rebuild && sm->current())
        rebuild = sm->current()->update();
    if (sm->gui_toggle_changed())
        rebuild = true;
    if (rebuild) {
        varList.clear();
        if (cScene* scene = sm->current()) {
            scene->fillGui(varList);
            sceneLabel.setText(scene->getName());
        }
    }
    draw_picture();
    if (panel_visible())
        draw_panel();
    swap_buffers();
    trace_swap(*sm);
    if (sm->clock().paused)
        m_pictureDelay.skip_frame();
    else
        m_pictureDelay.frame_shown(sm->clock().now, sm->clock().counter_ms());
    m_frameRate.frame_presented(sm->demo_time());
    adapt_render_scale();
}

namespace {
void say_render_scale(const char* why)
{
    const WindowConfig* wc = window_config();
    std::fprintf(stderr, "# render scale %g: pictures made at %dx%d for the %dx%d render area%s\n",
                 double(wc->pixel_scale()), wc->scaled_render_width(), wc->scaled_render_height(), wc->renderWidth,
                 wc->render_area_height(), why);
}
}  // namespace

void cDemo::choose_render_scale(float fixed, int fpsTarget)
{
    m_scaleController.reset();
    if (frame_step_source()) {
        // A stepped show is a recording: its own size, always.
        set_render_scale(1.f);
        if (fixed > 0.f)
            say_render_scale(" (the frame-stepped clock renders at full size: --scale is ignored)");
        return;
    }
    if (fixed > 0.f) {
        set_render_scale(fixed);
        say_render_scale(" (--scale)");
        return;
    }
    cRenderScaleController::Settings settings;
    settings.fpsTarget = fpsTarget;
    m_scaleController = std::make_unique<cRenderScaleController>(settings, window_config()->pixel_scale());
    set_render_scale(float(m_scaleController->scale()));
    m_lastPresentTicks = -1;
    char why[96];
    std::snprintf(why, sizeof why, ", chosen from frame times to hold %d fps", fpsTarget);
    say_render_scale(why);
}

void cDemo::adapt_render_scale()
{
    if (!m_scaleController)
        return;
    iTimeSource& clock = default_time_source();
    const int64_t now = clock.counter();
    const int64_t before = m_lastPresentTicks;
    m_lastPresentTicks = now;
    if (before < 0)
        return;
    const double ms = double(now - before) * 1000.0 / double(clock.frequency());
    if (!m_scaleController->frame(ms))
        return;
    const double smoothed = m_scaleController->smoothed_ms();
    if (!set_render_scale(float(m_scaleController->scale())))
        return;
    char why[96];
    std::snprintf(why, sizeof why, " (frames took %.1f ms, %.1f ms holds the target)", smoothed,
                  m_scaleController->target_ms());
    say_render_scale(why);
    // Making the new targets took time that is not a frame's.
    m_lastPresentTicks = clock.counter();
}

void cDemo::draw_picture()
{
    glClearColor(0.f, 0.f, 0.f, 1.f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    manager()->draw_current();
}

bool cDemo::panel_visible() const
{
    const cInputState& in = input_state();
    return !window_config()->fullscreen() && in.pointerInside && in.pointerEverMoved &&
           SDL_GetTicks() - in.lastPointerMoveMs < PANEL_SHOW_MS;
}

void cDemo::draw_panel()
{
    cPassState pass(overlay_2d());
    apply_render_viewport();

    varList.draw();
    glColor4f(1.f, 1.f, 1.f, 1.f);
    sceneLabel.draw();
    timeLabel.setText(time_code(manager()->demo_time()));
    timeLabel.draw();
}
