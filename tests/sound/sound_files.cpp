#include "sound/sound_files.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

#include "synth/mp3_encode.h"

std::string make_temp_dir()
{
    const char* base = std::getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/wendit-sound-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    const char* dir = mkdtemp(buf.data());
    EXPECT_NE(dir, nullptr);
    return dir ? dir : "/tmp";
}

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::vector<uint8_t> read_bytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return bytes;
}

StereoBuffer test_signal(double seconds)
{
    StereoBuffer a;
    const size_t n = size_t(seconds * a.rate);
    a.left.resize(n);
    a.right.resize(n);
    uint32_t state = 7;
    double phase = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double t = double(i) / a.rate;
        phase += (200.0 + 900.0 * t) / a.rate;
        state = state * 1664525u + 1013904223u;
        const float noise = float(int32_t(state)) / 2147483648.0f;
        const float tone = float(std::sin(2.0 * M_PI * phase));
        a.left[i] = 0.4f * tone + 0.1f * noise;
        a.right[i] = 0.3f * tone - 0.1f * noise;
    }
    return a;
}

void write_mp3(const std::string& path, const StereoBuffer& audio)
{
    std::vector<uint8_t> mp3;
    std::string error;
    ASSERT_TRUE(encode_mp3(audio, 192, mp3, error)) << error;
    write_bytes(path, mp3);
}
