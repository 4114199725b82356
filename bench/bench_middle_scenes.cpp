// The spike ball, the black-and-white star and the space sphere on the
// software renderer at 1280x720: each scene's render as a multiple of its
// pass floor, the sum of its passes' plain-copy costs at their sizes (a
// mesh drawn into a target counted as one copy of it, the radial pass as
// one copy per sample). With --frames DIR it also writes each scene's
// picture at a few moments of the show as PNG files, for looking at.
//
//   cd bin && ../scripts/with_display.sh ../build/bench/bench_middle_scenes [ITERATIONS] [--frames DIR]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "render/cRenderTargetManager.h"
#include "scenes/cSceneBlacknWhite.h"
#include "scenes/cSceneSpacesphere.h"
#include "scenes/cSceneSpike.h"
#include "support/bench_harness.h"
#include "timeline/cEventQueue.h"
#include "timeline/cMidiReader.h"

namespace {
using namespace bench;

// Brings a scene to demo time ms: the notes before it, then its update.
void advance(cScene& scene, DemoClock& clock, cEventQueue& queue, int ms)
{
    clock.now = ms;
    if (ms < 0 || queue.size() == 0)
        return;
    if (queue.cursor() < queue.size() && queue.events()[queue.cursor()]->time > ms)
        queue.seek(ms - 1);
    while (cEvent* e = queue.next_due(ms))
        scene.handleEvent(e);
    scene.update();
}
}  // namespace

int main(int argc, char** argv)
{
    const auto [iterations, frames] = scene_args(argc, argv, 10);
    if (!open_gl_window("bench_middle_scenes"))
        return 1;
    push_repository_paths(true);
    compile_shaders_quietly();

    cEventQueue queue;
    cMidiReader::read_file(data_tree() + "/music/GLOAM2.mid", queue, 0.f);
    DemoClock clock;

    cSceneSpike spike(&clock);
    cSceneBlacknWhite star(&clock);
    cSceneSpacesphere sky(&clock);
    spike.queue = star.queue = sky.queue = &queue;
    spike.init();
    star.init();
    sky.init();
    star.noise_t = 0.5f;

    // The star's path and distortion as the show moves them (44 to 86 s).
    auto star_at = [&](int ms) {
        star.cur_t = std::min(std::max((float(ms) - 44000.f) / 42000.f, 0.f), 1.f);
        star.noise_t = ms > 70000 ? 1.f : 0.4f;
    };
    if (!frames.empty()) {
        queue.rewind();
        for (int ms : {15000, 18060, 18120, 22200, 27500, 33400}) {
            advance(spike, clock, queue, ms);
            save_png(spike.render(ms).get(), frames + "/spike_" + std::to_string(ms) + ".png");
        }
        queue.rewind();
        for (int ms : {45000, 52000, 60000, 68000, 76000, 85000}) {
            star_at(ms);
            advance(star, clock, queue, ms);
            save_png(star.render(ms).get(), frames + "/star_" + std::to_string(ms) + ".png");
        }
        queue.rewind();
        for (int ms : {44000, 50000, 58000, 66000, 80000}) {
            advance(sky, clock, queue, ms);
            save_png(sky.render(ms).get(), frames + "/sky_" + std::to_string(ms) + ".png");
        }
        std::printf("frames written to %s\n", frames.c_str());
    }

    // The machine's load drifts while the benchmark runs: each round times
    // the copies and then the render, and the median of the rounds' ratios
    // is reported.
    struct Copies {
        double full, half, quarter;
    };
    auto time_copies = [&] {
        cTmpRT full = get_tmp_rt(RTT_FULL), full2 = get_tmp_rt(RTT_FULL);
        cTmpRT half = get_tmp_rt(RTT_HALF), half2 = get_tmp_rt(RTT_HALF);
        cTmpRT quarter = get_tmp_rt(RTT_QUATER), quarter2 = get_tmp_rt(RTT_QUATER);
        return Copies{time_per_call([&] { copy_into(full2.get(), full.get()); }, 3),
                      time_per_call([&] { copy_into(half2.get(), half.get()); }, 3),
                      time_per_call([&] { copy_into(quarter2.get(), quarter.get()); }, 3)};
    };
    // Floors. The spike: ball, blur (two quarter passes), radial pass,
    // rings, dodge, invert, grain (picture and two grain quads), levels, hsb.
    auto spike_floor = [&](const Copies& c) {
        return c.half + 2 * c.quarter + spike.blur.num_samples * c.half + c.half + c.half + c.half + 3 * c.half +
               c.half + c.half;
    };
    // The star: core and spikes (depth, then colour), blur, radial pass,
    // the spikes again, over, the smear (its squeezes a quarter of the
    // previous width each, then the stretch), dodge, distortion.
    auto star_floor = [&](const Copies& c) {
        return 2 * c.full + 2 * c.quarter + star.blur.num_samples * c.full + c.full + c.full +
               (0.25 + 0.0625 + 0.016 + 0.004 + 0.001) * c.full + c.full + c.full + c.full;
    };
    // The sphere: the sky, the vignette, levels.
    auto sky_floor = [&](const Copies& c) { return 3 * c.full; };

    struct Row {
        const char* name;
        std::function<double(const Copies&)> floor;
        std::function<void()> run;
    };
    std::vector<Row> rows = {
        {"spikeball", spike_floor, [&] { advance(spike, clock, queue, 30000); spike.render(30000); }},
        {"blacknwhite", star_floor,
         [&] { star_at(85000); advance(star, clock, queue, 85000); star.render(85000); }},
        {"spacesphere", sky_floor, [&] { advance(sky, clock, queue, 60000); sky.render(60000); }},
    };
    for (const Row& r : rows) {
        std::vector<double> ratios;
        double renderMs = 0, floorMs = 0;
        for (int round = 0; round < iterations; ++round) {
            const Copies c = time_copies();
            const double ms = time_per_call(r.run, 1);
            ratios.push_back(ms / r.floor(c));
            renderMs += ms;
            floorMs += r.floor(c);
        }
        const std::string rounds = std::to_string(iterations) + " rounds";
        char floorText[96];
        std::snprintf(floorText, sizeof floorText, "its pass floor (median of %s; the floor's mean %.2f ms)",
                      rounds.c_str(), floorMs / iterations);
        print_ratio(std::string(r.name) + " render (mean of " + rounds + ")", renderMs / iterations, "ms",
                    {{median(ratios), floorText}});
    }
    return 0;
}
