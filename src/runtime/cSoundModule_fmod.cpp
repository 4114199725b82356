#include "runtime/cSoundModule_fmod.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "sound_player/stream_player.h"
#include "util/engine_files.h"
#include "util/fatal_exit.h"

std::string g_music_path = engine_files::MUSIC;

namespace {
// Where the module reports itself in its messages.
const char* const SOURCE_NAME = "..\\src\\cSoundModule_fmod";

// "## ERROR: " and the player's text, with the file named; a file that is
// there but cannot be read says the system's reason instead of "not found".
void report_open_failure()
{
    if (FILE* f = std::fopen(g_music_path.c_str(), "rb"))
        std::fclose(f);
    else if (errno != ENOENT && errno != ENOTDIR) {
        std::cerr << "## ERROR: cannot read \"" << g_music_path << "\": " << std::strerror(errno) << std::endl;
        return;
    }
    std::cerr << "## ERROR: " << sp_error_text(sp_get_error()) << " (file \"" << g_music_path << "\")" << std::endl;
}

void unhandled(int line)
{
    std::cerr << "## ERROR, unhandled case in " << SOURCE_NAME << ", line: " << line << std::endl;
}
}  // namespace

cSoundModule_fmod::cSoundModule_fmod()
{
    std::cout << "# fmod: mixersize: " << MIXER_BUFFER_MS << "ms" << std::endl;
}

cSoundModule_fmod::~cSoundModule_fmod() = default;

void cSoundModule_fmod::init(bool capture)
{
    if (sp_get_version() < REQUIRED_VERSION) {
        std::cerr << "Error : You are using the wrong DLL version! You should be using FMOD "
                  << REQUIRED_VERSION << std::endl;
        end_process(1);
    }
    sp_set_output(silent ? SP_OUTPUT_NOSOUND : SP_OUTPUT_DEVICE);
    sp_set_buffer_size(capture ? 0 : MIXER_BUFFER_MS);
    if (!sp_init(44100, 2, SP_INIT_GLOBALFOCUS)) {
        std::cerr << sp_error_text(sp_get_error()) << std::flush;
        end_process(1);
    }
    sp_stream_set_buffer_size(200000);
    if (!sp_output_note().empty())
        std::cerr << sp_output_note() << std::endl;
}

bool cSoundModule_fmod::follow_clock(bool on)
{
    sp_set_follow(on && mode == 0);
    return sp_following();
}

bool cSoundModule_fmod::following() const
{
    return sp_following();
}

void cSoundModule_fmod::place(int ms, int64_t atTicks)
{
    if (mode == 0 && stream && sp_following())
        sp_stream_sync(stream, ms, atTicks);
}

int cSoundModule_fmod::output_delay_ms() const
{
    return sp_output_delay_ms();
}

void cSoundModule_fmod::open()
{
    if (mode == 0) {
        stream = sp_stream_open(g_music_path.c_str(), SP_LOOP_OFF | SP_ACCURATE, 0, 0);
        if (!stream) {
            report_open_failure();
            end_process(1);
        }
        std::cout << "# fmod loaded stream \"" << g_music_path << "\" [length: "
                  << sp_stream_get_length_ms(stream) << "ms]" << std::endl;
    } else if (mode == 1) {
        module = sp_module_load(g_music_path.c_str());
        if (!module) {
            report_open_failure();
            end_process(1);
        }
    } else {
        unhandled(52);
    }
}

int cSoundModule_fmod::length_ms() const
{
    return mode == 0 && stream ? sp_stream_get_length_ms(stream) : -1;
}

void cSoundModule_fmod::play()
{
    if (mode == 0) {
        channel = sp_stream_play(SP_FREE, stream);
    } else if (mode == 1) {
        sp_module_play(module);
    } else {
        unhandled(65);
    }
    // Reported and marked in every mode, as the scene manager expects.
    std::cout << "# fmod starting playback..." << std::endl;
    playing = true;
}

void cSoundModule_fmod::set_time(int ms)
{
    if (mode == 0)
        sp_stream_set_time(stream, ms);
    else if (mode == 1)
        sp_module_set_order(module, sp_module_get_order(module) + 1);  // ms is not used
    else
        unhandled(120);
}

void cSoundModule_fmod::set_volume(int v)
{
    if (mode == 0) {
        if (!sp_set_volume(channel, v))
            std::cerr << "## WARNING: Not able to set volume in " << SOURCE_NAME << " line " << 99
                      << std::endl;
    } else if (mode == 1) {
        sp_module_set_master_volume(module, v);
    } else {
        unhandled(103);
    }
}

void cSoundModule_fmod::toggle_pause()
{
    if (playing) {
        sp_set_paused(channel, true);
        playing = false;
    } else {
        sp_set_paused(channel, false);
        playing = true;
    }
}

void cSoundModule_fmod::close()
{
    sp_close();
    stream = nullptr;
    module = nullptr;
    playing = false;
}
