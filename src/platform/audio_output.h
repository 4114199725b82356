#pragma once
// A sound output the stream player mixes into: it opens the device, asks
// the player for the next samples from a thread of its own and, where it
// can, says how long those samples take to reach the listener.
//
// The mix function receives the delay, in sample frames, from the moment
// it is called until the first frame it writes is heard; -1 when the output
// cannot tell. Every call into the player's state from another thread is
// made between lock() and unlock(); the output holds the same lock while it
// calls the mix function.
#include <cstdint>

class iAudioOutput {
public:
    using MixFn = void (*)(void* user, int16_t* out, int frames, int64_t delayFrames);

    virtual ~iAudioOutput() = default;
    // 16-bit interleaved stereo at `rate` Hz, about `bufferFrames` frames
    // buffered. Starts calling `mix` at once; false when no device opens.
    virtual bool open(int rate, int bufferFrames, MixFn mix, void* user) = 0;
    virtual void close() = 0;
    virtual void lock() = 0;
    virtual void unlock() = 0;
    // Drops what is queued and not heard yet, before the next mix (a seek,
    // a pause); outputs that cannot do nothing.
    virtual void discard_queued() = 0;
    // The buffer the device was opened with, in frames.
    virtual int buffer_frames() const = 0;
    // Whether the mix function is told the delay of what it writes.
    virtual bool reports_timing() const = 0;
    // For messages: "PulseAudio", "SDL (alsa)", ...
    virtual const char* name() const = 0;
};
