#include "runtime/cSoundModule_fmod.h"

#include <iostream>

// Placeholder until the stream player exists: keeps the bookkeeping the
// scene manager relies on, makes no sound.
std::string g_music_path = "../data/music/GLOAM2.mp3";

cSoundModule_fmod::cSoundModule_fmod()
{
    std::cout << "# fmod: mixersize: " << 150 << "ms" << std::endl;
}

cSoundModule_fmod::~cSoundModule_fmod() = default;

void cSoundModule_fmod::init(bool) {}
void cSoundModule_fmod::open() {}

void cSoundModule_fmod::play()
{
    std::cout << "# fmod starting playback..." << std::endl;
    playing = true;
}

void cSoundModule_fmod::set_time(int) {}
void cSoundModule_fmod::set_volume(int) {}

void cSoundModule_fmod::toggle_pause()
{
    playing = !playing;
}

void cSoundModule_fmod::close()
{
    playing = false;
}
