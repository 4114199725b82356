#pragma once
// The stream player: the small sound library the show plays its music with.
//
// A track is decoded completely to 16-bit stereo PCM when it is opened, so
// its length is exact, a seek lands on the exact sample and nothing is
// decoded while the show runs. The encoder's delay and padding are removed:
// position 0 is the first sample of the music. Output goes to the system's
// audio device: a PulseAudio server when one runs (and SDL_AUDIODRIVER is
// unset), else through SDL (SDL_AUDIODRIVER chooses the driver
// as usual); or to nowhere, in which case the caller pulls the mix with
// sp_mix (tests and offline capture). sp_mix is also what the device runs.
//
// Following: a device that says when the samples it takes are heard lets
// the caller place the music in time (sp_set_follow, then sp_stream_sync
// every frame): each buffer is mixed from the music that is due when that
// buffer reaches the listener, so the music heard follows the caller's
// clock from the first sample on, across seeks, pauses, underruns and any
// drift between the device's clock and the caller's.
//
// Calls are made from one thread; the device mixes on a thread of its own,
// and every call that changes what it plays holds the output's lock.
// Failures return false, null or -1 and leave an error code for
// sp_get_error; sp_error_text turns it into the table's text.
#include <cstdint>
#include <string>

class iAudioOutput;
class iTimeSource;
struct sp_stream;
struct sp_module;

enum sp_error_code {
    SP_ERR_NONE = 0,
    SP_ERR_BUSY = 1,
    SP_ERR_UNINITIALIZED = 2,
    SP_ERR_INIT = 3,
    SP_ERR_ALLOCATED = 4,
    SP_ERR_PLAY = 5,
    SP_ERR_OUTPUT_FORMAT = 6,
    SP_ERR_COOPERATIVELEVEL = 7,
    SP_ERR_CREATEBUFFER = 8,
    SP_ERR_FILE_NOTFOUND = 9,
    SP_ERR_FILE_FORMAT = 10,
    SP_ERR_FILE_BAD = 11,
    SP_ERR_MEMORY = 12,
    SP_ERR_VERSION = 13,
    SP_ERR_INVALID_PARAM = 14,
    SP_ERR_NO_EAX = 15,
    SP_ERR_CHANNEL_ALLOC = 16,
    SP_ERR_RECORD = 17,
    SP_ERR_MEDIAPLAYER = 18,
};

// Outputs for sp_set_output.
enum {
    SP_OUTPUT_NOSOUND = 0,  // no device: the caller pulls samples with sp_mix
    SP_OUTPUT_DEVICE = 2,   // the system's audio device, through SDL
};

// Open modes (sp_stream_open); both are what the player does anyway.
enum {
    SP_LOOP_OFF = 0x00000001,     // play once, then silence
    SP_ACCURATE = 0x00020000,     // exact length and sample-exact seeks
};

enum { SP_FREE = -1 };               // sp_stream_play: the first free channel
enum { SP_INIT_GLOBALFOCUS = 2 };    // sound does not depend on window focus

// Version of this player; callers check it against the one they need.
float sp_get_version();

// Before sp_init. Output: one of SP_OUTPUT_*. Buffer: the mixer's buffer in
// milliseconds; 0 asks for the smallest the device allows.
bool sp_set_output(int output);
bool sp_set_buffer_size(int ms);

// Starts the mixer at `rate` Hz (the show uses 44100) with `channels`
// channels to play on. Fails with SP_ERR_INIT when no output device opens.
bool sp_init(int rate, int channels, unsigned flags);
// Streaming buffer in bytes: accepted for compatibility; a track is always
// decoded whole.
bool sp_stream_set_buffer_size(int bytes);
// Stops the device and frees every stream and module; the player can be
// initialised again afterwards.
void sp_close();

int sp_get_error();
// The text of an error code; "Unknown error" for codes outside the table.
const char* sp_error_text(int code);

// Opens and decodes an MP3 file. offset and length are reserved (0).
sp_stream* sp_stream_open(const char* path, unsigned mode, int offset, int length);
int sp_stream_get_length_ms(const sp_stream* stream);
// Plays the stream from position 0 at once, unpaused, at full volume, on
// the given channel or the first free one (SP_FREE); returns the channel.
int sp_stream_play(int channel, sp_stream* stream);
// Moves the position to the sample at `ms` (clamped to the track).
bool sp_stream_set_time(sp_stream* stream, int ms);
// Position in sample frames: what sp_mix plays next.
int64_t sp_stream_get_position(const sp_stream* stream);
// The decoded music, interleaved stereo; frames receives the frame count.
const int16_t* sp_stream_pcm(const sp_stream* stream, int64_t* frames);

bool sp_set_paused(int channel, bool paused);
bool sp_get_paused(int channel);
// 0 is silent, 255 full scale.
bool sp_set_volume(int channel, int volume);

// Mixes the next `frames` stereo frames of every playing channel into out
// (interleaved, 2 × frames values), advancing the streams.
void sp_mix(int16_t* out, int frames);
// What the mixer runs at, after sp_init: rate in Hz and device buffer in
// sample frames (0 without a device).
int sp_output_rate();
int sp_device_buffer_frames();

// Before sp_init: the output to open instead of the system's device (a
// stand-in in tests); null goes back to the system's.
bool sp_set_audio_output(iAudioOutput* output);
// The clock sp_stream_sync's times are read on; null (the default) is the
// process's monotonic clock, default_time_source().
void sp_set_time_source(iTimeSource* source);
// Whether the open device says when its samples are heard.
bool sp_output_reports_timing();
// The open output's name ("PulseAudio", "SDL (alsa)"; "no device").
const char* sp_output_name();
// After sp_init: why the music cannot follow the clock on this device, as
// a line for standard error; empty when it can, or when nobody listens
// (no device, SDL's dummy driver).
const std::string& sp_output_note();
// The delay the device reported with its last buffer, in ms; -1 unknown.
int sp_output_delay_ms();
// Turns following on (only where the device reports timing: false
// otherwise) or off. While on, a start, a seek or a resume drops what the
// device holds and the stream stays silent until the next sp_stream_sync.
void sp_set_follow(bool follow);
bool sp_following();
// Placement: the music at `ms` is to be heard when the time source reads
// `atTicks`. Music placed later than the device can play is preceded by
// silence; the stream is moved only when it is more than a few ms off.
bool sp_stream_sync(sp_stream* stream, int ms, int64_t atTicks);

// Tracker modules: no module format is supported, so loading reports
// SP_ERR_FILE_FORMAT; the other calls fail on a null module.
sp_module* sp_module_load(const char* path);
bool sp_module_play(sp_module* module);
int sp_module_get_order(const sp_module* module);
bool sp_module_set_order(sp_module* module, int order);
bool sp_module_set_master_volume(sp_module* module, int volume);
