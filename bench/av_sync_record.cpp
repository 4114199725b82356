// The recording half of bench_av_sync.sh: records a PulseAudio source (the
// null sink's monitor) for a while and keeps, with the samples, when each
// was played, on the system's monotonic clock, so the analyser can say
// which music was heard at any moment. Also writes the show's music as
// the player decodes it, which the recording is matched against.
//
//   av_sync_record SOURCE SECONDS OUT     records OUT.raw, OUT.times
//   av_sync_record --music MP3 OUT        writes OUT (16-bit stereo, 44.1 kHz)
//
// OUT.raw is 16-bit stereo at 44.1 kHz; OUT.times has a line per read:
// "MONOTONIC_US LATENCY_US FRAMES", the frames recorded so far when the
// read returned and the source's latency then (how long ago the last of
// them was played).
#include <pulse/error.h>
#include <pulse/simple.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/mp3_decode.h"
#include "platform/time_source.h"

namespace {
constexpr int RATE = 44100;

// SIGTERM ends the recording cleanly, with both files complete.
volatile std::sig_atomic_t g_stop = 0;
void stop(int)
{
    g_stop = 1;
}

int write_music(const char* mp3, const char* out)
{
    std::vector<int16_t> pcm;
    std::string detail;
    if (decode_mp3_file(mp3, RATE, pcm, detail) != Mp3DecodeResult::ok) {
        std::fprintf(stderr, "av_sync_record: cannot decode %s: %s\n", mp3, detail.c_str());
        return 1;
    }
    FILE* f = std::fopen(out, "wb");
    if (!f || std::fwrite(pcm.data(), sizeof(int16_t), pcm.size(), f) != pcm.size()) {
        std::fprintf(stderr, "av_sync_record: cannot write %s\n", out);
        return 1;
    }
    std::fclose(f);
    return 0;
}

int record(const char* source, double seconds, const std::string& out)
{
    pa_sample_spec sampleFormat{};
    sampleFormat.format = PA_SAMPLE_S16LE;
    sampleFormat.rate = RATE;
    sampleFormat.channels = 2;
    // Small fragments: each read's time stamp is close to its samples.
    pa_buffer_attr attr{};
    attr.maxlength = uint32_t(-1);
    attr.fragsize = 256 * 4;
    int err = 0;
    pa_simple* pa = pa_simple_new(nullptr, "av_sync_record", PA_STREAM_RECORD, source, "monitor", &sampleFormat, nullptr,
                                  &attr, &err);
    if (!pa) {
        std::fprintf(stderr, "av_sync_record: cannot record %s: %s\n", source, pa_strerror(err));
        return 1;
    }
    FILE* raw = std::fopen((out + ".raw").c_str(), "wb");
    FILE* times = std::fopen((out + ".times").c_str(), "w");
    if (!raw || !times) {
        std::fprintf(stderr, "av_sync_record: cannot write %s.raw\n", out.c_str());
        return 1;
    }
    std::vector<int16_t> chunk(256 * 2);
    const int64_t total = int64_t(seconds * RATE);
    int64_t frames = 0;
    std::signal(SIGTERM, stop);
    std::signal(SIGINT, stop);
    while (frames < total && !g_stop) {
        if (pa_simple_read(pa, chunk.data(), chunk.size() * sizeof(int16_t), &err) < 0) {
            std::fprintf(stderr, "av_sync_record: %s\n", pa_strerror(err));
            break;
        }
        const int64_t now = monotonic_us();
        const pa_usec_t latency = pa_simple_get_latency(pa, &err);
        frames += 256;
        std::fwrite(chunk.data(), sizeof(int16_t), chunk.size(), raw);
        std::fprintf(times, "%lld %lld %lld\n", (long long)now, (long long)latency, (long long)frames);
    }
    std::fclose(raw);
    std::fclose(times);
    pa_simple_free(pa);
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--music")
        return write_music(argv[2], argv[3]);
    if (argc == 4)
        return record(argv[1], std::atof(argv[2]), argv[3]);
    std::fprintf(stderr, "usage: av_sync_record SOURCE SECONDS OUT | --music MP3 OUT\n");
    return 2;
}
