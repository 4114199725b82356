#include "assets/bake_files.h"

#include "assets/cairo_canvas.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <iostream>

bool make_directories(const std::string& path)
{
    for (size_t i = 1; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '/') {
            const std::string part = path.substr(0, i);
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
                std::cerr << "## ERROR: cannot create directory " << part << ": " << std::strerror(errno)
                          << std::endl;
                return false;
            }
        }
    return true;
}

FIBITMAP* grey_image(int side, const std::function<BYTE(int x, int y)>& grey)
{
    FIBITMAP* image = FreeImage_Allocate(side, side, 24);
    if (!image)
        return nullptr;
    for (int y = 0; y < side; ++y) {
        BYTE* row = FreeImage_GetScanLine(image, y);
        for (int x = 0; x < side; ++x)
            row[3 * x + FI_RGBA_RED] = row[3 * x + FI_RGBA_GREEN] = row[3 * x + FI_RGBA_BLUE] = grey(x, y);
    }
    return image;
}

bool save_image(FIBITMAP* image, FREE_IMAGE_FORMAT format, const std::string& path, int flags)
{
    const size_t slash = path.rfind('/');
    bool ok = image && (slash == std::string::npos || make_directories(path.substr(0, slash)));
    if (ok && !FreeImage_Save(format, image, path.c_str(), flags)) {
        std::cerr << "## ERROR: cannot write " << path << std::endl;
        ok = false;
    }
    if (image)
        FreeImage_Unload(image);
    return ok;
}

FIBITMAP* image_of(const CairoCanvas& canvas)
{
    const cairo_format_t format = cairo_image_surface_get_format(canvas.surface());
    if (!canvas.ok() || (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_A8))
        return nullptr;
    const bool rgb = format == CAIRO_FORMAT_RGB24;
    FIBITMAP* image = FreeImage_Allocate(canvas.width(), canvas.height(), rgb ? 24 : 32);
    if (!image)
        return nullptr;
    const unsigned char* data = canvas.data();
    // Cairo's rows run top-down, FreeImage's bottom-up.
    for (int y = 0; y < canvas.height(); ++y) {
        const unsigned char* from = data + size_t(y) * size_t(canvas.stride());
        BYTE* to = FreeImage_GetScanLine(image, canvas.height() - 1 - y);
        for (int x = 0; x < canvas.width(); ++x) {
            BYTE* p = to + x * (rgb ? 3 : 4);
            if (rgb) {
                // Cairo's RGB24 pixel is a 32-bit 0x00RRGGBB.
                p[FI_RGBA_RED] = from[4 * x + 2];
                p[FI_RGBA_GREEN] = from[4 * x + 1];
                p[FI_RGBA_BLUE] = from[4 * x];
            } else {
                p[FI_RGBA_RED] = p[FI_RGBA_GREEN] = p[FI_RGBA_BLUE] = 255;
                p[FI_RGBA_ALPHA] = from[x];
            }
        }
    }
    return image;
}

bool save_texture(FIBITMAP* image, FREE_IMAGE_FORMAT format, const std::string& dataDir, const std::string& name,
                  int flags)
{
    return save_image(image, format, dataDir + "/textures/" + name, flags);
}
