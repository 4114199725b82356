#pragma once
// Writing what the bakers make: directories and image files.
#include <FreeImage.h>

#include <functional>
#include <string>

// Creates the directory and its parents; false after a message.
bool make_directories(const std::string& path);

// A side x side 24-bit image, each pixel grey(x, y) in all three channels
// (y = 0 at the bottom); null when it cannot be had.
FIBITMAP* grey_image(int side, const std::function<BYTE(int x, int y)>& grey);

// A Cairo picture as a FreeImage picture to save: 24-bit from RGB24,
// 32-bit white with the coverage as alpha from A8; null for other formats
// or when it cannot be had.
class CairoCanvas;
FIBITMAP* image_of(const CairoCanvas& canvas);

// Saves image to path (making its directory first) and unloads it; false
// after "## ERROR: cannot write PATH" (or the directory's message). A null
// image fails quietly: its maker has said why.
bool save_image(FIBITMAP* image, FREE_IMAGE_FORMAT format, const std::string& path, int flags);
// The same for DATA/textures/name.
bool save_texture(FIBITMAP* image, FREE_IMAGE_FORMAT format, const std::string& dataDir, const std::string& name,
                  int flags);
