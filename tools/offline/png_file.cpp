#include "offline/png_file.h"

#include <FreeImage.h>

#include <cstdio>
#include <cstring>

bool write_png_bgra(const std::string& path, const uint8_t* bgra, int width, int height, std::string& error)
{
    FIBITMAP* image = FreeImage_Allocate(width, height, 24);
    if (!image) {
        error = "no memory for the picture " + path;
        return false;
    }
    // FreeImage keeps rows bottom-up too, blue first on little-endian machines.
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = bgra + size_t(y) * width * 4;
        uint8_t* dst = FreeImage_GetScanLine(image, y);
        for (int x = 0; x < width; ++x) {
            dst[3 * x + FI_RGBA_BLUE] = src[4 * x + 0];
            dst[3 * x + FI_RGBA_GREEN] = src[4 * x + 1];
            dst[3 * x + FI_RGBA_RED] = src[4 * x + 2];
        }
    }
    const std::string part = path + ".part";
    // Fast compression: a capture writes many of these.
    const bool saved = FreeImage_Save(FIF_PNG, image, part.c_str(), PNG_Z_BEST_SPEED) != 0;
    FreeImage_Unload(image);
    if (!saved || std::rename(part.c_str(), path.c_str()) != 0) {
        std::remove(part.c_str());
        error = "cannot write " + path + " (disk full or not writable?)";
        return false;
    }
    return true;
}

std::string png_frame_path(const std::string& dir, int64_t index)
{
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06lld.png", static_cast<long long>(index));
    return dir + "/" + name;
}
