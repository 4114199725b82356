// Cost of the image passes on the software renderer, at the window size of
// the show (1280x720): each pass at its size class as a ratio to one plain
// full-size copy (draw_target of a full-size target into another), and
// the time to compile every shader class.
//
// Needs an X display (scripts/with_display.sh gives one):
//
//   scripts/with_display.sh build/bench/bench_passes [ITERATIONS]
#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "post/post.h"
#include "render/cRenderTargetManager.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"
#include "support/bench_harness.h"

using namespace bench;

int main(int argc, char** argv)
{
    const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    if (!open_gl_window("bench_passes"))
        return 1;
    push_repository_paths(false);

    // Compile every class once, the compile reports silenced.
    const double compileMs = compile_shaders_quietly();
    cShaderManager_CG* sm = get_shader_manager();
    print_ratio("compile all shader classes", compileMs, "ms", {},
                std::to_string(sm->shaders.size()) + " registered names");
    // Linking happens at a pair's first bind, the renderer's own code
    // generation at its first draw: both are part of being ready.
    Clock::time_point t = Clock::now();
    for (const auto& entry : sm->shaders)
        sm->bind(entry.first);
    sm->unbind();
    glFinish();
    print_ratio("first bind of every class (link)", ms_since(t), "ms");
    t = Clock::now();
    for (const auto& entry : sm->shaders) {
        sm->bind(entry.first);
        cPassState quad(flat_2d());
        draw_quad_rect(1.f, 1.f);
    }
    sm->unbind();
    glFinish();
    print_ratio("first draw with every class (code generation)", ms_since(t), "ms");

    cTmpRT full = get_tmp_rt(RTT_FULL), full2 = get_tmp_rt(RTT_FULL);
    cTmpRT half = get_tmp_rt(RTT_HALF), half2 = get_tmp_rt(RTT_HALF);
    cTmpRT quarter = get_tmp_rt(RTT_QUATER), quarter2 = get_tmp_rt(RTT_QUATER);
    for (iRenderTarget* t : {full.get(), half.get(), quarter.get()}) {
        glClearColor(0.4f, 0.5f, 0.6f, 1.f);
        t->bind(true);
        t->unbind();
    }

    const double copyFull = time_per_call([&] { copy_into(full2.get(), full.get()); }, iterations);
    const double copyHalf = time_per_call([&] { copy_into(half2.get(), half.get()); }, iterations);
    const double copyQuarter = time_per_call([&] { copy_into(quarter2.get(), quarter.get()); }, iterations);
    print_ratio("plain copy (draw_target) FULL", copyFull, "ms/call");
    print_ratio("plain copy (draw_target) HALF", copyHalf, "ms/call", {{copyHalf / copyFull, "a full copy"}});
    print_ratio("plain copy (draw_target) QUATER", copyQuarter, "ms/call", {{copyQuarter / copyFull, "a full copy"}});

    cSineNoiseParams noise{{4, 2, 1, 0.5f}, {0.1f, 0.2f, 0.3f, 0.4f}, 1.f, 720.f, {1, 2, 3, 4}, 0.5f, RTT_FULL};
    const float scroll[4] = {10, 5, 1280, 720};
    struct Row {
        const char* name;
        const char* size;
        double sameSizeCopy;  // a copy of the pass's own size, times its passes
        std::function<void()> run;
    };
    const std::vector<Row> rows = {
        {"invert_into", "FULL", copyFull, [&] { invert_into(full2.get(), full.get()); }},
        {"levels_into", "FULL", copyFull, [&] { levels_into(full2.get(), full.get(), {20, 230, 1.2f, 0, 255}); }},
        {"hsb_into", "FULL", copyFull, [&] { hsb_into(full2.get(), full.get(), {30, 10, 5}); }},
        {"scroll_into", "FULL", copyFull, [&] { scroll_into(full2.get(), full.get(), scroll); }},
        {"coloroffset_into", "FULL", copyFull, [&] { coloroffset_into(full2.get(), full.get(), 2.f); }},
        {"sinenoise_into", "FULL", copyFull, [&] { sinenoise_into(full2.get(), full.get(), noise); }},
        {"comp (over)", "FULL", copyFull, [&] { comp(full2.get(), full.get(), half.get(), COMP_OVER, 1.f); }},
        {"spill_into", "FULL", copyFull, [&] { spill_into(full2.get(), full.get(), quarter.get()); }},
        {"blur (2 passes)", "FULL", 2 * copyFull, [&] { blur(full.get(), full2.get(), true); }},
        {"blur (2 passes)", "HALF", 2 * copyHalf, [&] { blur(half.get(), half2.get(), true); }},
        {"blur (2 passes)", "QUATER", 2 * copyQuarter, [&] { blur(quarter.get(), quarter2.get(), false); }},
        {"glow_into", "QUATER", 0, [&] { glow_into(quarter2.get(), full.get(), {RTT_QUATER, 200, 128}); }},
        {"spill_glow_into", "QUATER glow", 0,
         [&] { spill_glow_into(full2.get(), full.get(), {RTT_QUATER, 200, 128}); }},
        {"radialblur_into (25 samples)", "QUATER into FULL", 25 * copyFull,
         [&] { radialblur_into(full2.get(), full.get(), {640, 360, 100, 25, 1, 0.85f, RTT_QUATER}); }},
    };
    // The second ratio divides by a copy of the pass's own size, times the
    // samples its passes take where they take more than one (radial blur:
    // 25 reads per pixel): what the pass would cost at a copy's speed.
    for (const Row& r : rows) {
        const double ms = time_per_call(r.run, iterations);
        std::vector<Ratio> ratios = {{ms / copyFull, "a full copy"}};
        if (r.sameSizeCopy > 0)
            ratios.push_back({ms / r.sameSizeCopy, "its predicted copies"});
        print_ratio(std::string(r.name) + " " + r.size, ms, "ms/call", ratios);
    }
    return 0;
}
