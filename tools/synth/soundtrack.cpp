#include "soundtrack.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "loudness.h"
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
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
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

StereoBuffer render_soundtrack(const Score& score, double* loudness)
{
    StereoBuffer audio = render_score(score, SOUNDTRACK_RATE);
    const double lufs = master_to_loudness(audio, MasterSettings());
    if (loudness)
        *loudness = lufs;
    return audio;
}

bool make_soundtrack(const Score& score, SoundtrackFiles& out, std::string& error)
{
    StereoBuffer audio = render_soundtrack(score, &out.loudness);
    out.peak = peak_dbfs(audio.left.data(), audio.right.data(), audio.frames());
    out.midi = write_midi(score);
    return encode_mp3(audio, SOUNDTRACK_KBPS, out.mp3, error);
}

bool bake_soundtrack(const std::string& dataDir, std::string& error)
{
    SoundtrackFiles files;
    if (!make_soundtrack(make_gloam_score(), files, error))
        return false;
    const std::string dir = dataDir + "/music";
    if (!make_dir(dataDir, error) || !make_dir(dir, error))
        return false;
    if (!write_file(dir + "/GLOAM2.mid", files.midi, error) || !write_file(dir + "/GLOAM2.mp3", files.mp3, error))
        return false;
    std::printf("# music: %s/GLOAM2.mp3 (%zu bytes, %.1f LUFS, peak %.1f dBFS), GLOAM2.mid (%zu bytes)\n",
                dir.c_str(), files.mp3.size(), files.loudness, files.peak, files.midi.size());
    return true;
}
