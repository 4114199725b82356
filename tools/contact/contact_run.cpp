#include "contact/contact_run.h"

#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>

#include "contact/contact_sheet.h"
#include "gl/gl_state.h"
#include "offline/capture_options.h"
#include "offline/frame_timing.h"
#include "offline/progress.h"
#include "offline/show_stepper.h"
#include "offline/stop_request.h"
#include "platform/WindowConfig.h"
#include "runtime/cSceneManager.h"
#include "util/time_code.h"

namespace {
// The show is stepped through at this rate between the sheet's frames, so
// its scenes come to each frame as they do when it plays.
constexpr int STEP_FPS = 30;
constexpr int WARM_UP_MS = 100;

int fail(const std::string& message, int code)
{
    std::cerr << "wendit contact: " << message << std::endl;
    return code;
}
}  // namespace

int run_contact(const std::vector<std::string>& args)
{
    CaptureOptions o;
    std::string error;
    if (!parse_capture_args(args, true, o, error))
        return fail(error, 2);
    int startMs = 0;
    if (!resolve_show_range(o, startMs, error) || !check_outputs(o, error))
        return fail(error, 2);
    install_stop_handlers();

    cQuietStdout quiet;
    const int w = 1280, h = 720;
    cShowStepper show;
    if (!show.open(w, h, STEP_FPS, error))
        return fail(error, 1);

    cContactSheet sheet(o.count);
    std::vector<uint8_t> pixels(size_t(w) * h * 4);
    const Viewport vp = window_config()->render_viewport();
    cProgress progress(o.count, isatty(2) != 0);
    int64_t step = 0;
    for (int i = 0; i < o.count; ++i) {
        if (stop_requested())
            return fail("interrupted; nothing written under " + o.output, 130);
        // The middle of each of count equal slices of the range.
        const int t = int(o.fromMs + (int64_t(2 * i + 1) * (o.toMs - o.fromMs)) / (2 * o.count));
        for (; frame_time_ms(startMs, step, STEP_FPS) < t; ++step) {
            const int ts = int(frame_time_ms(startMs, step, STEP_FPS));
            show.step_to(ts);
            // The frames just before are drawn too (what a scene keeps from
            // one drawn frame to the next), the rest only updated.
            if (t - ts <= WARM_UP_MS) {
                show.draw();
                show.present();
            }
        }
        show.step_to(t);
        show.draw();
        read_from_window_draw_buffer();
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(vp.x, vp.y, w, h, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
        show.present();
        sheet.place(i, pixels.data(), w, h, time_code(t), show.scene_name());
        progress.update(i + 1);
    }
    progress.finish();
    if (!sheet.write_png(o.output, error))
        return fail(error, 1);
    quiet.print("wrote " + o.output + ": " + std::to_string(o.count) + " frames from " + time_code(o.fromMs) +
                " to " + time_code(o.toMs) + " in a " + std::to_string(sheet.columns()) + "x" +
                std::to_string(sheet.rows()) + " grid\n");
    return 0;
}
