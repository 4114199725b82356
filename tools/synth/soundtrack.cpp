#include "soundtrack.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#include "loudness.h"
#include "platform/mp3_decode.h"
#include "scenes/show_assets.h"
#include "master.h"
#include "midi_writer.h"
#include "mp3_encode.h"

namespace {
bool make_dir(const std::string& path, std::string& error)
{
    if (mkdir(path.c_str(), 0755) == 0 || errno == EEXIST)
        return true;
    error = "cannot create directory " + path + ": " + std::strerror(errno);
    return false;
}

// Writes through a temporary file and renames it, so an interrupted bake
// never leaves half a file where the show looks for it.
bool write_file(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error)
{
    const std::string tmp = path + ".part";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) {
        error = "cannot write " + tmp + ": " + std::strerror(errno);
        return false;
    }
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) {
        error = "cannot write " + tmp + ": " + std::strerror(errno);
        std::remove(tmp.c_str());
        return false;
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        error = "cannot rename " + tmp + " to " + path + ": " + std::strerror(errno);
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}
}  // namespace

namespace {
// The encoded soundtrack as a player hears it: loudness and sample peak.
bool measure_decoded(const std::vector<uint8_t>& mp3, double& lufs, double& peakDb, std::string& error)
{
    FILE* f = std::tmpfile();
    if (!f) {
        error = std::string("no temporary file: ") + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(mp3.data(), 1, mp3.size(), f) == mp3.size() && std::fflush(f) == 0;
    std::rewind(f);
    std::vector<int16_t> pcm;
    std::string detail;
    const bool ok = written && decode_mp3_fd(fileno(f), SOUNDTRACK_RATE, pcm, detail) == Mp3DecodeResult::ok;
    std::fclose(f);
    if (!ok) {
        error = "the encoded soundtrack does not decode: " + detail;
        return false;
    }
    lufs = integrated_loudness_s16(pcm.data(), pcm.size() / 2, SOUNDTRACK_RATE);
    int peak = 1;
    for (int16_t v : pcm)
        peak = std::max(peak, std::abs(int(v)));
    peakDb = 20.0 * std::log10(peak / 32768.0);
    return true;
}
}  // namespace

bool make_soundtrack(const Score& score, SoundtrackFiles& out, std::string& error)
{
    const StereoBuffer mix = render_score(score, SOUNDTRACK_RATE);
    out.midi = write_midi(score);
    // Encoding changes the sound a little: its low-pass takes some loudness
    // away and its noise lifts the sharpest transients. So measure what a
    // player will hear and master again, aiming off by what was missed.
    const MasterSettings goal;
    MasterSettings settings;
    for (int round = 0; round < 4; ++round) {
        StereoBuffer audio = mix;
        master_to_loudness(audio, settings);
        out.peak = peak_dbfs(audio.left.data(), audio.right.data(), audio.frames());
        if (!encode_mp3(audio, SOUNDTRACK_KBPS, out.mp3, error))
            return false;
        double heardPeak = 0.0;
        if (!measure_decoded(out.mp3, out.loudness, heardPeak, error))
            return false;
        const double loudnessMiss = goal.targetLufs - out.loudness;
        const double peakExcess = heardPeak - SOUNDTRACK_DECODED_PEAK_DBFS;
        if (std::fabs(loudnessMiss) < 0.05 && peakExcess <= 0.0)
            break;
        settings.targetLufs += loudnessMiss;
        if (peakExcess > 0.0)
            settings.ceilingDbfs -= peakExcess + 0.1;
    }
    return true;
}

bool bake_soundtrack(const std::string& dataDir, std::string& error)
{
    SoundtrackFiles files;
    if (!make_soundtrack(make_gloam_score(), files, error))
        return false;
    const std::string mp3 = show_assets::path(dataDir, show_assets::MUSIC);
    const std::string midi = show_assets::path(dataDir, show_assets::MIDI);
    const std::string dir = mp3.substr(0, mp3.rfind('/'));
    if (!make_dir(dataDir, error) || !make_dir(dir, error))
        return false;
    if (!write_file(midi, files.midi, error) || !write_file(mp3, files.mp3, error))
        return false;
    std::printf("# music: %s (%zu bytes, %.2f LUFS decoded, peak %.1f dBFS before encoding), %s (%zu bytes)\n",
                mp3.c_str(), files.mp3.size(), files.loudness, files.peak, midi.substr(midi.rfind('/') + 1).c_str(),
                files.midi.size());
    return true;
}
