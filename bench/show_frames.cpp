// Frames of the show as PNG files, for looking at what the show draws.
//
//   cd bin && WENDIT_FRAME_MS=40 ../scripts/with_display.sh ../build/bench/show_frames OUTDIR [--every MS | T...]
//
// With --every MS it plays the show from its start marker, as the program
// does, and saves the frame each time another MS of demo time has passed,
// until the quit marker ends it. With times (ms) it seeks to each one in
// turn, plays three frames there and saves the third. Files are named by
// demo time: OUTDIR/frame_012000.png.
#include <FreeImage.h>
#include <GL/gl.h>
#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/exit_hook.h"
#include "app/init_gl.h"
#include "app/init_sdl.h"
#include "demo/cMorvane.h"
#include "gl/gl_extensions.h"
#include "gl/gl_state.h"
#include "platform/WindowConfig.h"
#include "runtime/cSceneManager.h"
#include "texture/cResourcePath.h"

namespace {
void save_back_buffer(const std::string& dir, int t)
{
    const WindowConfig* w = window_config();
    std::vector<unsigned char> pixels(size_t(w->width) * size_t(w->height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w->width, w->height, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    FIBITMAP* image = FreeImage_ConvertFromRawBits(pixels.data(), w->width, w->height, w->width * 3, 24,
                                                   FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, false);
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06d.png", t);
    if (!image || !FreeImage_Save(FIF_PNG, image, (dir + name).c_str(), PNG_DEFAULT))
        std::fprintf(stderr, "## ERROR: cannot write %s%s\n", dir.c_str(), name);
    if (image)
        FreeImage_Unload(image);
}

// One frame as the main loop draws it (without the panel), read back
// before it is presented when dir is given.
void frame(cSceneManager* sm, const std::string& dir = "")
{
    sm->advance_clock();
    if (!sm->dispatch_events() && sm->current())
        sm->current()->update();
    glClearColor(0.f, 0.f, 0.f, 1.f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    sm->draw_current();
    if (!dir.empty())
        save_back_buffer(dir, sm->demo_time());
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

    init_sdl(*window_config());
    std::atexit(exit_hook);
    init_gl();
    init_gl_state();
    setup_resource_paths();
    cMorvane demo;
    demo.run(false);
    cSceneManager* sm = cSceneManager::get();
    sm->start();
    frame(sm);  // the start jump
    if (every) {
        int next = 0;
        for (;;) {  // the quit marker ends the process
            const bool save = sm->demo_time() + 40 >= next;
            frame(sm, save ? dir : "");
            if (save)
                next += times[0];
        }
    }
    for (int t : times) {
        sm->seek(t);
        frame(sm);
        frame(sm);
        frame(sm, dir);
    }
    std::exit(0);
}
