#include "texture/texture_image.h"

#include <FreeImage.h>

#include <cstdio>

namespace {
// FreeImage reports through one process-wide callback; while an image
// decodes, its messages go to that image.
cTextureImage* g_decoding = nullptr;

void DLL_CALLCONV collect_message(FREE_IMAGE_FORMAT fif, const char* message)
{
    if (!g_decoding)
        return;
    std::string& out = g_decoding->messages;
    if (!out.empty())
        out += "; ";
    const char* format = fif != FIF_UNKNOWN ? FreeImage_GetFormatFromFIF(fif) : nullptr;
    if (format)
        out += std::string(format) + ": ";
    out += message ? message : "";
}
// A damaged or hostile header may claim any size, and the decoder would
// try to allocate it. Where the format can say its size without decoding,
// a size no texture can have is refused before any pixel is allocated.
bool size_fits(FREE_IMAGE_FORMAT fif, FIMEMORY* mem, std::string& messages)
{
    if (!FreeImage_FIFSupportsNoPixels(fif))
        return true;
    FIBITMAP* header = FreeImage_LoadFromMemory(fif, mem, FIF_LOAD_NOPIXELS);
    FreeImage_SeekMemory(mem, 0, SEEK_SET);
    if (!header)
        return true;  // the full decode says what is wrong
    const unsigned w = FreeImage_GetWidth(header), h = FreeImage_GetHeight(header);
    FreeImage_Unload(header);
    if (w <= cTextureImage::MAX_SIDE && h <= cTextureImage::MAX_SIDE)
        return true;
    if (!messages.empty())
        messages += "; ";
    messages += "its header says " + std::to_string(w) + "x" + std::to_string(h) + " pixels, over the " +
                std::to_string(cTextureImage::MAX_SIDE) + " a side a texture can have";
    return false;
}
}  // namespace

cTextureImage::~cTextureImage()
{
    if (m_image)
        FreeImage_Unload(m_image);
}

const void* cTextureImage::bits() const
{
    return m_image ? FreeImage_GetBits(m_image) : nullptr;
}

cTextureImage::eFault cTextureImage::decode(const uint8_t* data, size_t size)
{
    if (m_image)
        FreeImage_Unload(m_image);
    m_image = nullptr;
    width = height = bpp = 0;
    messages.clear();

    // FreeImage counts in 32 bits; no image the show uses comes near that.
    if (size > 0x7fffffffu)
        return fault = undecodable;
    FreeImage_SetOutputMessage(collect_message);
    g_decoding = this;
    // FreeImage reads the memory without writing it; its API is not const.
    FIMEMORY* mem = FreeImage_OpenMemory(const_cast<BYTE*>(data), DWORD(size));
    const FREE_IMAGE_FORMAT fif = mem ? FreeImage_GetFileTypeFromMemory(mem, 0) : FIF_UNKNOWN;
    if (fif != FIF_UNKNOWN && FreeImage_FIFSupportsReading(fif) && size_fits(fif, mem, messages))
        m_image = FreeImage_LoadFromMemory(fif, mem, 0);
    if (mem)
        FreeImage_CloseMemory(mem);
    g_decoding = nullptr;

    // An image that failed to decode, or one without pixels, is said to be
    // so; the bit depth matters for images that decode.
    if (!m_image)
        return fault = undecodable;
    width = FreeImage_GetWidth(m_image);
    height = FreeImage_GetHeight(m_image);
    bpp = FreeImage_GetBPP(m_image);
    if (width == 0 || height == 0 || !FreeImage_GetBits(m_image))
        return fault = undecodable;
    if (bpp != 24 && bpp != 32)
        return fault = bad_depth;
    return fault = none;
}
