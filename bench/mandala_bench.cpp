// The mandala cube's render at the show's window size (1280x720, so its
// targets are 640x360) on the software renderer, against its pass floor:
// the sum of plain half-size copies, one for each of its eight passes (the
// cube drawn into T1, kaleidoscope, colour offset, scroll, sine noise,
// levels, light band, vignette). With --frames DIR it also writes the
// pictures of each configuration at a few demo times as PNG files.
//
// Run from bin/ on a baked data tree, under an X display:
//
//   scripts/with_display.sh build/bench/mandala_bench [ITERATIONS] [--frames DIR]
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "render/cRenderTargetManager.h"
#include "scenes/cSceneMandalaCube.h"
#include "shaders/cShaderManager_CG.h"
#include "support/bench_harness.h"
#include "texture/cResourcePath.h"
#include "timeline/iMidiEvent.h"

using namespace bench;

int main(int argc, char** argv)
{
    const auto [iterations, frames] = scene_args(argc, argv, 10);
    if (!open_gl_window("mandala_bench"))
        return 1;
    QuietStderr quiet;
    setup_resource_paths();
    get_shader_manager()->init_cg();
    DemoClock clock;
    cSceneMandalaCube scene(&clock);
    scene.init();
    quiet.end();

    auto at = [&](int ms) {
        clock.previous = clock.now;
        clock.now = ms;
    };

    if (!frames.empty()) {
        // Each configuration at moments of its stretch of the show, with a
        // morph kick and a pulse 60 ms before the second picture of each.
        const struct {
            int config, ms;
            float backits;
            bool kick;
        } shots[] = {{2, 300, 0.f, false}, {2, 13200, 0.f, true}, {0, 2500, 0.3f, false}, {0, 6100, 1.f, true},
                     {0, 11000, 1.f, false}, {1, 4000, 0.5f, false}, {1, 9050, 1.f, true}};
        for (const auto& s : shots) {
            at(s.ms - 20);
            scene.cur_config = s.config;
            scene.backits = s.backits;
            scene.update();
            if (s.kick) {
                cMETrigger hit(s.ms - 60, iMidiEvent::KIND_NOTE_ON, 2, 60, 100), perc(s.ms - 60, 1, 5, 36, 100);
                scene.handleEvent(&hit);
                scene.handleEvent(&perc);
            }
            at(s.ms);
            scene.update();
            cTmpRT raw = get_tmp_rt(RTT_HALF);
            scene.render_cube(raw.get());
            char name[128];
            std::snprintf(name, sizeof name, "/cube_c%d_%05d.png", s.config, s.ms);
            save_png(raw.get(), frames + name);
            raw.release();
            cTmpRT out = scene.render(s.ms);
            std::snprintf(name, sizeof name, "/mandala_c%d_%05d.png", s.config, s.ms);
            if (!save_png(out.get(), frames + name))
                std::fprintf(stderr, "mandala_bench: cannot write %s%s\n", frames.c_str(), name);
            else
                std::printf("wrote %s%s\n", frames.c_str(), name);
        }
        // The inside view through each kaleidoscope plane.
        scene.cur_config = 0;
        for (int k = 1; k <= 7; ++k) {
            at(7000 + 40 * k);
            scene.update();
            scene.kaleido = k;
            cTmpRT out = scene.render(0);
            char name[128];
            std::snprintf(name, sizeof name, "/mandala_plane%d.png", k);
            save_png(out.get(), frames + name);
        }
    }

    cTmpRT a = get_tmp_rt(RTT_HALF), b = get_tmp_rt(RTT_HALF);
    glClearColor(0.4f, 0.5f, 0.6f, 1.f);
    a->bind(true);
    a->unbind();
    const double copyHalf = time_per_call([&] { copy_into(b.get(), a.get()); }, iterations * 4);
    a.release();
    b.release();
    const double floor = 8 * copyHalf;
    char floorText[96];
    std::snprintf(floorText, sizeof floorText, "the pass floor, 8 x %.3f ms = %.2f ms", copyHalf, floor);
    for (int config = 0; config < 3; ++config) {
        scene.cur_config = config;
        int ms = 3000;
        const double render = time_per_call(
            [&] {
                at(ms += 20);
                scene.update();
                cTmpRT out = scene.render(ms);
            },
            iterations);
        cTmpRT t = get_tmp_rt(RTT_HALF);
        const double cube = time_per_call([&] { scene.render_cube(t.get()); }, iterations);
        const std::string name = "config " + std::to_string(config);
        print_ratio(name + " render", render, "ms", {{render / floor, floorText}});
        print_ratio(name + " the cube alone", cube, "ms");
    }
    return 0;
}
