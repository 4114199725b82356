// The decode step of the texture manager, from bytes in memory: what it
// accepts, what it refuses, and that FreeImage's words stay with the image.
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "texture/texture_image.h"

namespace {
std::vector<uint8_t> encoded(int w, int h, int bpp, FREE_IMAGE_FORMAT fif)
{
    FIBITMAP* b = FreeImage_Allocate(w, h, bpp);
    FIMEMORY* mem = FreeImage_OpenMemory();
    FreeImage_SaveToMemory(fif, b, mem, 0);
    BYTE* data = nullptr;
    DWORD size = 0;
    FreeImage_AcquireMemory(mem, &data, &size);
    std::vector<uint8_t> out(data, data + size);
    FreeImage_CloseMemory(mem);
    FreeImage_Unload(b);
    return out;
}

void put32(std::vector<uint8_t>& v, uint32_t x)
{
    for (int s = 24; s >= 0; s -= 8)
        v.push_back(uint8_t(x >> s));
}

// A PNG whose header claims w x h RGB pixels and whose data holds nearly none.
std::vector<uint8_t> png_claiming(uint32_t w, uint32_t h)
{
    std::vector<uint8_t> v = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto chunk = [&](const char* type, const std::vector<uint8_t>& body) {
        put32(v, uint32_t(body.size()));
        std::vector<uint8_t> typed(type, type + 4);
        typed.insert(typed.end(), body.begin(), body.end());
        v.insert(v.end(), typed.begin(), typed.end());
        put32(v, uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
    };
    std::vector<uint8_t> ihdr;
    put32(ihdr, w);
    put32(ihdr, h);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    chunk("IHDR", ihdr);
    chunk("IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    chunk("IEND", {});
    return v;
}
}  // namespace

TEST(TextureImage, AcceptsTwentyFourAndThirtyTwoBitsAndSaysWhyNotOthers)
{
    cTextureImage image;
    std::vector<uint8_t> rgb = encoded(6, 5, 24, FIF_PNG);
    ASSERT_EQ(image.decode(rgb.data(), rgb.size()), cTextureImage::none);
    EXPECT_EQ(image.width, 6u);
    EXPECT_EQ(image.height, 5u);
    EXPECT_NE(image.bits(), nullptr);
    std::vector<uint8_t> rgba = encoded(4, 1, 32, FIF_TARGA);
    ASSERT_EQ(image.decode(rgba.data(), rgba.size()), cTextureImage::none);
    EXPECT_EQ(image.bpp, 32u);

    std::vector<uint8_t> grey = encoded(8, 8, 8, FIF_PNG);
    EXPECT_EQ(image.decode(grey.data(), grey.size()), cTextureImage::bad_depth);
    EXPECT_EQ(image.bpp, 8u);
    const std::string text = "not an image";
    EXPECT_EQ(image.decode(reinterpret_cast<const uint8_t*>(text.data()), text.size()), cTextureImage::undecodable);
    EXPECT_EQ(image.messages, "");
    EXPECT_EQ(image.decode(nullptr, 0), cTextureImage::undecodable);
}

TEST(TextureImage, ADamagedFileKeepsTheDecodersWords)
{
    std::vector<uint8_t> png = encoded(64, 64, 24, FIF_PNG);
    png.resize(png.size() / 2);
    cTextureImage image;
    EXPECT_EQ(image.decode(png.data(), png.size()), cTextureImage::undecodable);
    EXPECT_EQ(image.messages.rfind("PNG: ", 0), 0u) << image.messages;
}

// A header may claim any size; a size no texture can have is refused
// before the decoder allocates it.
TEST(TextureImage, AHeaderClaimingAHugeImageIsRefusedUnread)
{
    cTextureImage image;
    std::vector<uint8_t> huge = png_claiming(40000, 30000);
    EXPECT_EQ(image.decode(huge.data(), huge.size()), cTextureImage::undecodable);
    EXPECT_NE(image.messages.find("its header says 40000x30000 pixels, over the 16384 a side a texture can have"),
              std::string::npos)
        << image.messages;
}
