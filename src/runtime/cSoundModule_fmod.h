#pragma once
// The music player of the show: opens the soundtrack, starts it at the demo
// start, seeks it with the clock, pauses it with the clock and sets its
// volume. The music position is never read back.
//
// Mode 0 plays a compressed audio stream (the only mode the show uses);
// mode 1 is a tracker module. Any other mode reports the unhandled case.
#include <string>

class cSoundModule_fmod {
public:
    cSoundModule_fmod();
    ~cSoundModule_fmod();

    // Initialises the sound output; capture selects the smallest mixer
    // buffer. Ends the process with exit code 1 on failure.
    void init(bool capture);
    // Opens the music file; ends the process with exit code 1 on failure.
    void open();
    void play();
    void set_time(int ms);
    void set_volume(int v);  // 0..255
    void toggle_pause();
    void close();

    bool is_playing() const { return playing; }

    int stream = 0;
    int module = 0;
    int channel = 0;
    bool playing = false;
    int mode = 0;
};

// "../data/music/GLOAM2.mp3", relative to the working directory.
extern std::string g_music_path;
