#include "offline/range_run_up.h"

#include <algorithm>
#include <cstdint>

#include "offline/frame_timing.h"
#include "offline/show_stepper.h"
#include "offline/stop_request.h"

void run_up_to_range(cShowStepper& show, int startMs, int fromMs, int fps, int64_t firstFrame)
{
    constexpr int64_t WARM_UP_MS = 500;
    const int64_t before = floor_div(int64_t(fromMs - startMs) * fps, 1000);
    const int64_t drawnBefore = std::min<int64_t>(before + firstFrame, (WARM_UP_MS * fps + 999) / 1000);
    for (int64_t j = -before; j < firstFrame && !stop_requested(); ++j) {
        show.step_to(int(frame_time_ms(fromMs, j, fps)));
        if (j >= firstFrame - drawnBefore) {
            show.draw();
            show.present();
        } else if (show.events_due_before(int(frame_time_ms(fromMs, j + 1, fps)))) {
            // The next frame's events draw their random numbers from where
            // this frame's drawing leaves the cursor; its pixels are not
            // needed.
            show.draw_masked();
        }
    }
}
