// The show's pictures against pictures of the same frames made before the
// passes were rearranged (tests/data/show_frames, 320x180, one frame at
// each named demo time): a change that only makes frames cheaper keeps
// them equal within 50 dB of peak signal-to-noise ratio.
#include <gtest/gtest.h>

#include <FreeImage.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "support/run_tool.h"
#include "support/shader_setup.h"

namespace {
// PSNR of b against a over the colour channels; -1 when either cannot be
// read or the sizes differ; 1000 for equal pictures.
double psnr(const std::string& a, const std::string& b)
{
    FIBITMAP* pa = FreeImage_Load(FIF_PNG, a.c_str());
    FIBITMAP* pb = FreeImage_Load(FIF_PNG, b.c_str());
    double result = -1.0;
    if (pa && pb && FreeImage_GetWidth(pa) == FreeImage_GetWidth(pb) &&
        FreeImage_GetHeight(pa) == FreeImage_GetHeight(pb)) {
        const unsigned w = FreeImage_GetWidth(pa), h = FreeImage_GetHeight(pa);
        double sum = 0.0;
        for (unsigned y = 0; y < h; ++y)
            for (unsigned x = 0; x < w; ++x) {
                RGBQUAD p, q;
                FreeImage_GetPixelColor(pa, x, y, &p);
                FreeImage_GetPixelColor(pb, x, y, &q);
                for (int d : {p.rgbRed - q.rgbRed, p.rgbGreen - q.rgbGreen, p.rgbBlue - q.rgbBlue})
                    sum += double(d * d);
            }
        const double mse = sum / (3.0 * w * h);
        result = mse == 0.0 ? 1000.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
    }
    if (pa)
        FreeImage_Unload(pa);
    if (pb)
        FreeImage_Unload(pb);
    return result;
}
}  // namespace

TEST(ShowPictures, SampledFramesMatchThePicturesMadeBeforeWithin50dB)
{
    TempDir dir;
    for (const char* at : {"016100", "034000", "042100", "050000", "058000", "074000"}) {
        const int ms = std::atoi(at);
        char range[96];
        std::snprintf(range, sizeof range, "--from %d.%03d --to %d.%03d", ms / 1000, ms % 1000, (ms + 20) / 1000,
                      (ms + 20) % 1000);
        const std::string out = dir.path + "/" + at;
        const ToolRun r = run_tool("env -u DISPLAY -u SDL_AUDIODRIVER ./wendit capture --size 320x180 --png " + out +
                                   " " + range);
        ASSERT_EQ(r.exitCode, 0) << at << "\n" << r.err;
        const std::string reference = std::string(WENDIT_SOURCE_DIR "/tests/data/show_frames/at_") + at + ".png";
        const double db = psnr(reference, out + "/frame_000000.png");
        EXPECT_GE(db, 50.0) << "the frame at " << at << " ms";
    }
}
