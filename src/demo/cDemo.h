#pragma once
// The top of the runtime: what every production needs (the tweak panel and
// its labels, the one-instance rule) and the main loop. A production
// derives from it and assembles its show in run().
#include <cstdint>
#include <memory>
#include <string>

#include "demo/demo_input.h"
#include "demo/frame_rate_meter.h"
#include "demo/render_scale_controller.h"
#include "gui/cGuiTxtLabel.h"
#include "gui/cGuiVarList.h"
#include "runtime/picture_delay.h"
#include "runtime/cSectionLoop.h"

class cLiveReload;
class cSceneManager;
struct ShowPlacement;

class cDemo : public iDemoCommands {
public:
    // Throws std::exception "only a single demo allowed at any one time..."
    // when a demo was constructed before in this process.
    cDemo();
    ~cDemo() override;
    cDemo(const cDemo&) = delete;
    cDemo& operator=(const cDemo&) = delete;

    // Builds the show; capture is true with "--use_kkapture".
    virtual void run(bool capture) = 0;

    // The start of the show, then frames until the process ends.
    [[noreturn]] void main_loop();
    // One pass of the main loop.
    void frame();
    // The picture of a frame, without the panel: the back buffer cleared
    // and the shown scene drawn into it (what a frame shows, also offline).
    void draw_picture();

    // Key and window commands.
    void quit() override;
    void dump_time_code() override;
    void toggle_mute() override;
    void toggle_pause() override;
    void flip_gui_toggle() override;
    void pointer(float x, float y) override;
    void set_loop_start() override;
    void set_loop_end() override;
    void toggle_loop() override;
    void previous_marker() override;
    void next_marker() override;

    // Tuning options, after run: where the show starts, the section loop,
    // and (watch) reloading changed files while it plays.
    void tune(const ShowPlacement& placement, bool watch);
    // Within a frame, after the clock advanced: at the loop's end the
    // events before it fire, then clock, music and queue go back to its
    // start. True when it wrapped.
    bool wrap_loop();
    // Start of a frame: takes in changed files (with --watch).
    void reload_changes();

    // The render scale, after run: a fixed share of the window's size, or
    // (fixed 0) chosen from the frames' times to hold fpsTarget. A show on
    // a frame-stepped clock always renders at its own size. Says on
    // standard error at what size the pictures are made.
    void choose_render_scale(float fixed, int fpsTarget);

    // Drawn over the picture in a window while the pointer is in it and
    // has moved within this many ms.
    static constexpr unsigned PANEL_SHOW_MS = 3000;
    bool panel_visible() const;
    void draw_panel();

    cGuiVarList varList;
    cGuiTxtLabel sceneLabel;
    cGuiTxtLabel timeLabel;
    std::string text;
    cSectionLoop loop;
    std::unique_ptr<cLiveReload> liveReload;

protected:
    cSceneManager* manager() const;

private:
    // After a presented frame: its time to the automatic scale.
    void adapt_render_scale();

    static bool s_constructed;
    cFrameRateMeter m_frameRate;
    cPictureDelay m_pictureDelay;
    std::unique_ptr<cRenderScaleController> m_scaleController;
    int64_t m_lastPresentTicks = -1;
};

// The process-wide mute flag the m key toggles.
bool& demo_muted();
