#pragma once
// The music player of the show: opens the soundtrack, starts it at the demo
// start, seeks it with the clock, pauses it with the clock and sets its
// volume. The music position is never read back.
//
// On a device that says when its samples are heard, the module can follow
// the clock: every frame the clock tells it when the music at the frame's
// demo time is to be heard (place), and the player mixes accordingly.
//
// Mode 0 plays a compressed audio stream (the only mode the show uses);
// mode 1 is a tracker module. Any other mode reports the unhandled case.
// Failures to start the sound output or to open the music end the process
// with exit code 1.
#include <cstdint>
#include <string>

struct sp_stream;
struct sp_module;

class cSoundModule_fmod {
public:
    cSoundModule_fmod();
    ~cSoundModule_fmod();
    cSoundModule_fmod(const cSoundModule_fmod&) = delete;
    cSoundModule_fmod& operator=(const cSoundModule_fmod&) = delete;

    // Initialises the sound output; capture selects the smallest mixer
    // buffer (for offline capture tools), otherwise 150 ms.
    void init(bool capture);
    // Opens g_music_path and prints its length.
    void open();
    void play();
    void set_time(int ms);
    void set_volume(int v);  // 0..255
    void toggle_pause();
    void close();
    // Before play: places the music by the clock from now on (place), where
    // the device can; false where it cannot (no timing, no device, mode 1).
    bool follow_clock(bool on);
    bool following() const;
    // The music at `ms` is to be heard when the monotonic clock reads
    // `atTicks`; does nothing unless following.
    void place(int ms, int64_t atTicks);
    // The delay the device last reported, in ms; -1 unknown.
    int output_delay_ms() const;

    bool is_playing() const { return playing; }
    // Length of the opened stream in ms; -1 without one.
    int length_ms() const;

    sp_stream* stream = nullptr;  // mode 0
    sp_module* module = nullptr;  // mode 1
    int channel = 0;              // where the stream plays
    bool playing = false;         // started and not paused
    int mode = 0;                 // 0 stream, 1 module
    // No audio device at all: offline tools (capture) take the decoded
    // samples from the stream themselves. Set before init.
    bool silent = false;

    // The version of the stream player the module needs at least.
    static constexpr float REQUIRED_VERSION = 3.75f;
    static constexpr int MIXER_BUFFER_MS = 150;
};

// "../data/music/GLOAM2.mp3", relative to the working directory.
extern std::string g_music_path;

// A quit marker may follow the music's last sample by this much (the show
// ends on silence after its fade); music that ends earlier than that is
// reported at start-up.
constexpr int MUSIC_TAIL_GRACE_MS = 1000;
