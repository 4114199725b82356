// Music benchmarks, run on demand from bin/ after `wendit bake`:
//   - opening the soundtrack: decoding the whole MP3 when the show starts;
//   - the synthesizer: rendering the score, as a multiple of real time;
//   - the whole bake step (render, master, encode).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sound_player/stream_player.h"
#include "support/bench_harness.h"
#include "synth/soundtrack.h"
#include "synth/synth.h"

using namespace bench;

int main(int argc, char** argv)
{
    const std::string path = argc > 1 ? argv[1] : data_tree() + "/music/GLOAM2.mp3";
    const Score score = make_gloam_score();
    const double music = score.seconds(score.lengthBeats);

    sp_set_output(SP_OUTPUT_NOSOUND);
    if (!sp_init(44100, 2, 0)) {
        std::fprintf(stderr, "cannot start the player: %s\n", sp_error_text(sp_get_error()));
        return 1;
    }
    int lengthMs = 0;
    const double openMs = best_ms(5, [&] {
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
    print_ratio("open and decode " + path.substr(path.rfind('/') + 1) + " (" + std::to_string(lengthMs) +
                    " ms of music)",
                openMs, "ms", {}, "target: under 300 ms");

    size_t frames = 0;
    const double render = best_ms(3, [&] { frames = render_score(score, SOUNDTRACK_RATE).frames(); }) / 1000.0;
    char name[96];
    std::snprintf(name, sizeof name, "synthesizer: %.1f s of music", double(frames) / SOUNDTRACK_RATE);
    print_ratio(name, render, "s", {{music / render, "real time on one core (target: 20x)"}});

    const double bake = best_ms(1, [&] {
                            SoundtrackFiles files;
                            std::string error;
                            make_soundtrack(score, files, error);
                        }) /
                        1000.0;
    print_ratio("whole bake step (render, master, encode)", bake, "s", {{music / bake, "real time"}});
    return 0;
}
