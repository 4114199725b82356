// The one writer loop under every encoder of the tools: what is sent
// reaches the file, the encoder's held-back pictures included, and a file
// that cannot be written says which and why.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include "capture/decoded_media.h"
#include "encode/encoded_file.h"
#include "encode/h264_settings.h"

namespace {
// The capture's own H.264 encoder for a small picture, set for `file`.
AVCodecContext* small_h264(const cEncodedFile& file, std::string& error)
{
    H264Setup setup;
    setup.width = 64;
    setup.height = 32;
    setup.fps = 25;
    setup.globalHeader = file.global_header();
    return open_capture_h264(setup, error);
}
}  // namespace

TEST(EncodedFile, EveryPictureSentIsInTheFileOnceItIsFinished)
{
    const std::string path = testing::TempDir() + "encoded_file_test.mkv";
    std::string error;
    {
        cEncodedFile file("the test file");
        ASSERT_TRUE(file.create("matroska", "Matroska", path, error)) << error;
        AVCodecContext* enc = small_h264(file, error);
        ASSERT_NE(enc, nullptr) << error;
        AVStream* st = file.add_encoder(enc, error);
        ASSERT_NE(st, nullptr) << error;
        ASSERT_TRUE(file.open({}, error)) << error;
        AVFrame* picture = new_encoder_picture(enc);
        ASSERT_NE(picture, nullptr);
        for (int i = 0; i < 12; ++i) {
            ASSERT_EQ(av_frame_make_writable(picture), 0);
            for (int p = 0; p < 3; ++p)
                std::memset(picture->data[p], 16 + 16 * i, size_t(picture->linesize[p]) * (p ? 16 : 32));
            picture->pts = i;
            ASSERT_TRUE(file.encode(st, picture, error)) << error;
        }
        av_frame_free(&picture);
        // An encoder may still hold pictures back (x264 does, on several
        // threads): the drain at the end puts them in the file too.
        ASSERT_TRUE(file.finish(error)) << error;
    }
    const DecodedMedia m = decode_media(path);
    ASSERT_TRUE(m.ok) << m.error;
    EXPECT_EQ(m.frameSums.size(), 12u);
    EXPECT_EQ(m.width, 64);
    EXPECT_DOUBLE_EQ(m.fps, 25.0);
    EXPECT_NE(m.frameSums.front(), m.frameSums.back()) << "each picture its own";
    std::remove(path.c_str());
}

TEST(EncodedFile, AFileThatCannotBeCreatedIsNamedWithTheReason)
{
    const std::string path = testing::TempDir() + "no-such-dir/out.mp4";
    std::string error;
    cEncodedFile file("the video file");
    ASSERT_TRUE(file.create("mp4", "MP4", path, error)) << error;
    AVCodecContext* enc = small_h264(file, error);
    ASSERT_NE(enc, nullptr) << error;
    ASSERT_NE(file.add_encoder(enc, error), nullptr) << error;
    EXPECT_FALSE(file.open({}, error));
    EXPECT_EQ(error, "cannot create " + path + ": No such file or directory");
    // Abandoned before its header: the file's teardown frees what it holds.
}
