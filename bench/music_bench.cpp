// Music benchmarks, run on demand from bin/ after `wendit bake`:
//   - opening the soundtrack: decoding the whole MP3 when the show starts;
//   - the synthesizer: rendering the score, as a multiple of real time;
//   - the whole bake step (render, master, encode).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/stream_player.h"
#include "synth/soundtrack.h"
#include "synth/synth.h"

namespace {
using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Best of `runs`: the least disturbed measurement on a shared machine.
template <typename F>
double best_of(int runs, F f)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point t0 = Clock::now();
        f();
        best = std::min(best, seconds_since(t0));
    }
    return best;
}
}  // namespace

int main(int argc, char** argv)
{
    const std::string path = argc > 1 ? argv[1] : "../data/music/GLOAM2.mp3";
    const Score score = make_gloam_score();
    const double music = score.seconds(score.lengthBeats);

    sp_set_output(SP_OUTPUT_NOSOUND);
    if (!sp_init(44100, 2, 0)) {
        std::fprintf(stderr, "cannot start the player: %s\n", sp_error_text(sp_get_error()));
        return 1;
    }
    int lengthMs = 0;
    const double open = best_of(5, [&] {
        sp_stream* s = sp_stream_open(path.c_str(), SP_LOOP_OFF | SP_ACCURATE, 0, 0);
        if (!s) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), sp_error_text(sp_get_error()));
            std::exit(1);
        }
        lengthMs = sp_stream_get_length_ms(s);
        sp_close();
        sp_init(44100, 2, 0);
    });
    sp_close();
    std::printf("open and decode %s (%d ms of music): %.1f ms (target: under 300 ms)\n", path.c_str(), lengthMs,
                open * 1000.0);

    size_t frames = 0;
    const double render = best_of(3, [&] { frames = render_score(score, SOUNDTRACK_RATE).frames(); });
    std::printf("synthesizer: %.1f s of music in %.2f s: %.1fx real time on one core (target: 20x)\n",
                double(frames) / SOUNDTRACK_RATE, render, music / render);

    const double bake = best_of(1, [&] {
        SoundtrackFiles files;
        std::string error;
        make_soundtrack(score, files, error);
    });
    std::printf("whole bake step (render, master, encode): %.2f s, %.1fx real time\n", bake, music / bake);
    return 0;
}
