// Frames of the show as PNG files, for looking at what the show draws.
//
//   cd bin && WENDIT_FRAME_MS=40 ../scripts/with_display.sh ../build/bench/show_frames OUTDIR [--every MS | T...]
//
// With --every MS it plays the show from its start marker, as the program
// does, and saves the frame each time another MS of demo time has passed,
// until the quit marker ends it. With times (ms) it seeks to each one in
// turn, plays three frames there and saves the third. Files are named by
// demo time: OUTDIR/frame_012000.png.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/engine_start.h"
#include "demo/cMorvane.h"
#include "gl/gl_state.h"
#include "runtime/cSceneManager.h"
#include "support/bench_harness.h"

namespace {
// One frame as the main loop draws it (without the panel), read back
// before it is presented when dir is given.
void frame(cDemo& demo, cSceneManager* sm, const std::string& dir = "")
{
    sm->advance_clock();
    if (!sm->dispatch_events() && sm->current())
        sm->current()->update();
    demo.draw_picture();
    if (!dir.empty()) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame_%06d.png", sm->demo_time());
        if (!bench::save_back_buffer_png(dir + name))
            std::fprintf(stderr, "## ERROR: cannot write %s%s\n", dir.c_str(), name);
    }
    swap_buffers();
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: show_frames OUTDIR --every MS | show_frames OUTDIR T...\n");
        return 2;
    }
    const std::string dir = argv[1];
    const bool every = std::string(argv[2]) == "--every";
    std::vector<int> times;
    for (int i = every ? 3 : 2; i < argc; ++i)
        times.push_back(std::atoi(argv[i]));
    if (times.empty() || times[0] <= 0) {
        std::fprintf(stderr, "show_frames: give --every MS with MS > 0, or times in ms\n");
        return 2;
    }

    std::string error;
    start_engine(EngineStart(), error);
    cMorvane demo;
    demo.run(false);
    cSceneManager* sm = cSceneManager::get();
    sm->start();
    frame(demo, sm);  // the start jump
    if (every) {
        int next = 0;
        for (;;) {  // the quit marker ends the process
            const bool save = sm->demo_time() + 40 >= next;
            frame(demo, sm, save ? dir : "");
            if (save)
                next += times[0];
        }
    }
    for (int t : times) {
        sm->seek(t);
        frame(demo, sm);
        frame(demo, sm);
        frame(demo, sm, dir);
    }
    std::exit(0);
}
