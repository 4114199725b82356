#pragma once
// The stream player's own state and the steps its parts share: the
// streams, modules and channels, the one player the process has, the error
// code every call leaves, and the lock that keeps the device's mixing
// thread from seeing a half-made change. Only src/sound_player/ includes it.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio_output.h"
#include "platform/time_source.h"
#include "sound_player/stream_player.h"

struct sp_stream {
    std::vector<int16_t> pcm;  // interleaved stereo
    int64_t frames = 0;
    int64_t pos = 0;           // next frame to play
    int rate = 44100;
    // The caller's latest placement: frame syncFrame is to be heard when the
    // time source reads syncAt ticks.
    bool synced = false;
    int64_t syncFrame = 0;
    int64_t syncAt = 0;
};

struct sp_module {
    int order = 0;
    int volume = 255;
    bool playing = false;
};
namespace sound_player {

struct Channel {
    sp_stream* stream = nullptr;
    bool paused = false;
    int volume = 255;
    // Following: silent until the caller places the stream (after a start,
    // a seek or a resume).
    bool waiting = false;
    // Frames of silence before the stream's position: music placed to be
    // heard later than the device can already play.
    int64_t lead = 0;
};

// The player's state. One per process, like the audio device it drives.
struct Player {
    int output = SP_OUTPUT_DEVICE;
    int bufferMs = 150;
    bool initialised = false;
    bool deviceOpen = false;
    int rate = 44100;
    int deviceFrames = 0;
    std::vector<Channel> channels;
    std::vector<sp_stream*> streams;
    std::vector<sp_module*> modules;
    std::vector<int32_t> accum;
    int error = SP_ERR_NONE;
    iAudioOutput* injected = nullptr;      // a caller's output (tests)
    std::unique_ptr<iAudioOutput> owned;   // the one the player opened
    iAudioOutput* device = nullptr;        // whichever is open
    iTimeSource* clock = nullptr;          // null: the monotonic clock
    bool follow = false;
    std::atomic<int64_t> lastDelay{-1};
    std::string note;
};

// Never destroyed: the device's thread may still be mixing while the
// process exits, and must not find the state torn down under it.
extern Player& g_player;

// The clock placements are read on.
iTimeSource& player_clock();

// Leave the error code for sp_get_error: fail returns false, succeed true.
bool fail(int code);
bool succeed();

bool valid_channel(int channel);

// Holds the output's lock while the device runs, so its thread never sees
// a half-made change.
class Lock {
public:
    Lock() : m_device(g_player.deviceOpen ? g_player.device : nullptr)
    {
        if (m_device)
            m_device->lock();
    }
    ~Lock()
    {
        if (m_device)
            m_device->unlock();
    }

private:
    iAudioOutput* m_device;
};

// What the output runs for each buffer, with its lock held (mixer.cpp).
void mix_for_output(void*, int16_t* out, int frames, int64_t delay);
// Mixes `frames` frames of every playing channel into out; the caller
// holds the lock.
void mix_unlocked(int16_t* out, int frames);
// After a seek, a start or a resume while following: what the device holds
// is dropped and the stream waits for the caller to place it.
void restart_following(Channel& c);

}  // namespace sound_player
