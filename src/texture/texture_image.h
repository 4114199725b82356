#pragma once
// The one step from an image file's bytes to pixels a texture can take:
// FreeImage decodes them (from memory, so the same code serves files,
// tests and the fuzzer), and the texture manager's checks follow: the image
// decoded, has pixels and a size, and is 24 or 32 bits per pixel.
//
// FreeImage's own messages while decoding are kept with the image rather
// than printed on their own, so that whoever reports a fault can name the
// file beside them.
#include <cstddef>
#include <cstdint>
#include <string>

struct FIBITMAP;

class cTextureImage {
public:
    enum eFault { none, undecodable, bad_depth };

    cTextureImage() = default;
    ~cTextureImage();  // releases the decoded image
    cTextureImage(const cTextureImage&) = delete;
    cTextureImage& operator=(const cTextureImage&) = delete;

    // Decodes `size` bytes; the fault, none when the image can be uploaded.
    eFault decode(const uint8_t* data, size_t size);

    eFault fault = none;
    unsigned width = 0, height = 0, bpp = 0;
    // FreeImage's messages for this image, "FORMAT: text" each, joined by
    // "; " (empty when it said nothing).
    std::string messages;
    const void* bits() const;

    // The largest side accepted: what GL drivers allow for a texture at
    // most; a header claiming more is damaged.
    static constexpr unsigned MAX_SIDE = 16384;

private:
    FIBITMAP* m_image = nullptr;
};
