// The capture's two ends on their own: read-back through pixel-buffer
// objects (frames come back in order, one frame late, whole) and the video
// writer (pictures upright, colours as drawn, sound where it belongs).
#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include "capture/decoded_media.h"
#include "encode/video_writer.h"
#include "offline/frame_readback.h"
#include "support/gl_fixture.h"

class FrameReadbackTest : public GLTest {};

TEST_F(FrameReadbackTest, FramesComeBackInOrderOneFrameLate)
{
    cFrameReadback readback(0, 0, 64, 32);
    std::vector<uint8_t> got;
    const float greys[3] = {0.2f, 0.6f, 1.0f};
    for (int i = 0; i < 3; ++i) {
        glClearColor(greys[i], 0.f, 0.f, 1.f);
        glClear(GL_COLOR_BUFFER_BIT);
        readback.start();
        glClearColor(0.f, 1.f, 0.f, 1.f);  // the next frame's drawing begins
        glClear(GL_COLOR_BUFFER_BIT);
        EXPECT_EQ(readback.pending(false), i > 0);
        if (readback.pending(false)) {
            ASSERT_TRUE(readback.fetch(got));
            EXPECT_NEAR(got[2], int(greys[i - 1] * 255.f + 0.5f), 1) << "frame " << i - 1;  // BGRA: red
            EXPECT_EQ(got[1], 0);
        }
    }
    ASSERT_TRUE(readback.pending(true));
    ASSERT_TRUE(readback.fetch(got));
    ASSERT_EQ(got.size(), 64u * 32u * 4u);
    EXPECT_EQ(got[got.size() - 2], 255);  // the last pixel of the last frame
    EXPECT_FALSE(readback.pending(true));
    // It reads the buffer the window is drawn into, whichever that is (a
    // compatibility layer may draw the window into a framebuffer of its
    // own, where naming the back buffer is an error).
    GLint drawn = 0, read = 0;
    glGetIntegerv(GL_DRAW_BUFFER, &drawn);
    glGetIntegerv(GL_READ_BUFFER, &read);
    EXPECT_EQ(read, drawn);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(VideoWriter, PicturesUprightInTheirColoursWithTheSoundFromTheFirstSample)
{
    const int w = 64, h = 32;
    // GL order: bottom row first. Bottom half pure blue, top half pure red.
    std::vector<uint8_t> bgra(size_t(w) * h * 4, 255);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &bgra[(size_t(y) * w + x) * 4];
            p[0] = y < h / 2 ? 255 : 0;
            p[1] = 0;
            p[2] = y < h / 2 ? 0 : 255;
        }
    // Music: silence, then a loud stretch starting at sample 44100 + 441.
    std::vector<int16_t> pcm(2 * 88200, 0);
    for (size_t s = 44100 + 441; s < 88200; ++s)
        pcm[2 * s] = pcm[2 * s + 1] = (s / 50) % 2 ? 12000 : -12000;

    const std::string path = testing::TempDir() + "writer_test.mp4";
    VideoSpec format;
    format.width = w;
    format.height = h;
    format.fps = 25;
    format.pcm = pcm.data();
    format.pcmFrames = 88200;
    format.firstSample = 44100;  // the capture starts at 1 s
    std::string error;
    cVideoWriter writer;
    ASSERT_TRUE(writer.open(path, format, error)) << error;
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(writer.add_frame(bgra.data(), error)) << error;
    ASSERT_TRUE(writer.finish(error)) << error;

    DecodedMedia m = decode_media(path);
    ASSERT_TRUE(m.ok);
    ASSERT_EQ(m.frameSums.size(), 10u);
    // BT.709 limited range: red has Cr near 240, blue Cb near 240.
    const int cw = w / 2;
    EXPECT_GT(m.firstCr[size_t(2 * cw + 4)], 220) << "top is red";
    EXPECT_GT(m.firstCb[size_t((h / 2 - 3) * cw + 4)], 220) << "bottom is blue";
    EXPECT_NEAR(m.firstY[size_t(2 * w + 4)], 63, 4);  // red's luma in BT.709
    // 0.4 s of sound; the loud part begins 10 ms in.
    EXPECT_NEAR(double(m.left.size()), 0.4 * 44100, 1024);
    size_t firstLoud = 0;
    while (firstLoud < m.left.size() && std::abs(m.left[firstLoud]) < 0.1f)
        ++firstLoud;
    EXPECT_NEAR(double(firstLoud), 441.0, 30.0);
    std::remove(path.c_str());
}
