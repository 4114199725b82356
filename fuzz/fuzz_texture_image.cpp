// libFuzzer harness: any bytes as an image file, through the decode step
// and checks the texture manager makes before it uploads (FreeImage from
// memory). A decoded image must have the pixels its size and depth promise.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "texture/texture_image.h"

// A damaged header can make FreeImage ask for an allocation no machine has
// (a negative size read as unsigned). In the show malloc then returns null
// and FreeImage reports the image as unreadable; the sanitizer is told to
// do the same rather than stop there, so that what follows is fuzzed too.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    cTextureImage image;
    if (image.decode(data, size) != cTextureImage::none)
        return 0;
    if (image.width == 0 || image.height == 0 || (image.bpp != 24 && image.bpp != 32))
        std::abort();
    // Every row the upload would read is there (rows padded to four bytes).
    const size_t pitch = (size_t(image.width) * (image.bpp / 8) + 3) & ~size_t(3);
    const uint8_t* bits = static_cast<const uint8_t*>(image.bits());
    volatile uint8_t sum = 0;
    for (size_t y = 0; y < image.height; y += 1 + image.height / 8)
        sum = uint8_t(sum + bits[y * pitch] + bits[y * pitch + pitch - 1]);
    (void)sum;
    return 0;
}
