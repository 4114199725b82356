#include "texture/cTextureManager.h"

#include <FreeImage.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "gl/gl_extensions.h"
#include "texture/cResourcePath.h"
#include "util/fatal_exit.h"

namespace {
cTextureManager* g_textures = nullptr;
const char* const SOURCE_NAME = "cTextureManager.cpp";

unsigned DLL_CALLCONV io_read(void* buffer, unsigned size, unsigned count, fi_handle handle)
{
    return unsigned(std::fread(buffer, size, count, static_cast<FILE*>(handle)));
}
unsigned DLL_CALLCONV io_write(void* buffer, unsigned size, unsigned count, fi_handle handle)
{
    return unsigned(std::fwrite(buffer, size, count, static_cast<FILE*>(handle)));
}
int DLL_CALLCONV io_seek(fi_handle handle, long offset, int origin)
{
    return std::fseek(static_cast<FILE*>(handle), offset, origin);
}
long DLL_CALLCONV io_tell(fi_handle handle)
{
    return std::ftell(static_cast<FILE*>(handle));
}

void DLL_CALLCONV freeimage_message(FREE_IMAGE_FORMAT fif, const char* message)
{
    std::cout << "\n*** ";
    if (fif != FIF_UNKNOWN) {
        const char* format = FreeImage_GetFormatFromFIF(fif);
        if (format)
            std::cout << format << " Format\n";
    }
    std::cout << (message ? message : "") << " ***" << std::endl;
}

FreeImageIO& file_io()
{
    static FreeImageIO io = [] {
        FreeImage_SetOutputMessage(freeimage_message);
        FreeImageIO i{};
        i.read_proc = io_read;
        i.write_proc = io_write;
        i.seek_proc = io_seek;
        i.tell_proc = io_tell;
        return i;
    }();
    return io;
}

bool is_power_of_two(unsigned v)
{
    return v != 0 && (v & (v - 1)) == 0;
}

[[noreturn]] void bad_depth(const std::string& full, unsigned bpp)
{
    std::cerr << "images must be 24 or 32 bpp... \"" << full << "\" is " << bpp << std::endl;
    end_process(-1);
}
[[noreturn]] void undecodable(const std::string& full)
{
    std::cerr << "## ERROR: \"" << full << "\" could not be decoded as an image" << std::endl;
    end_process(-1);
}
}  // namespace

GLenum choose_texture_target(unsigned width, unsigned height)
{
    if (height == 1)
        return GL_TEXTURE_1D;
    if (!is_power_of_two(width) || !is_power_of_two(height))
        return GL_TEXTURE_RECTANGLE_ARB;
    return GL_TEXTURE_2D;
}

cTextureManager::~cTextureManager()
{
    for (auto& entry : m_cache)
        glDeleteTextures(1, &entry.second.id);
    m_cache.clear();
    if (m_white.loaded())
        glDeleteTextures(1, &m_white.id);
}

cTexture cTextureManager::white_texture()
{
    if (m_white.loaded())
        return m_white;
    const unsigned char texel[4] = {255, 255, 255, 255};
    GLuint id = 0;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glBindTexture(GL_TEXTURE_2D, GLuint(previous));
    m_white.target = GL_TEXTURE_2D;
    m_white.id = id;
    m_white.width = m_white.height = 1;
    m_white.name = "(white)";
    return m_white;
}

cTexture cTextureManager::get_texture(std::string name, bool mipmap, GLenum wrap, GLenum target)
{
    const std::string full = get_resource_path()->get_fullpath(name);
    if (full.empty()) {
        // A file that is there but cannot be read is not "not found".
        const std::string why = get_resource_path()->why_not_found(name);
        if (!why.empty())
            std::cerr << "## ERROR: in " << SOURCE_NAME << ": cannot read \"" << name << "\": " << why << std::endl;
        else
            std::cerr << "## ERROR: in " << SOURCE_NAME << " line " << __LINE__
                      << ": file was not found in path: \"" << name << "\"" << std::endl;
        end_process(-1);
    }
    auto hit = m_cache.find(full);
    if (hit != m_cache.end())
        return hit->second;

    FILE* file = std::fopen(full.c_str(), "rb");
    if (!file) {
        std::cerr << "## ERROR: in " << SOURCE_NAME << " line " << __LINE__ << ": unable to open file " << full << ": "
                  << std::strerror(errno) << std::endl;
        end_process(-1);
    }
    FreeImageIO& io = file_io();
    FIBITMAP* image = nullptr;
    FREE_IMAGE_FORMAT fif = FreeImage_GetFileTypeFromHandle(&io, file, 0);
    if (fif != FIF_UNKNOWN)
        image = FreeImage_LoadFromHandle(fif, &io, file, 0);
    std::fclose(file);

    // An image that failed to decode, or one without pixels, is said to be
    // so; the bit-depth line is for images that decode with the wrong depth.
    if (!image)
        undecodable(full);
    const unsigned width = FreeImage_GetWidth(image);
    const unsigned height = FreeImage_GetHeight(image);
    const unsigned bpp = FreeImage_GetBPP(image);
    if (width == 0 || height == 0 || !FreeImage_GetBits(image)) {
        FreeImage_Unload(image);
        undecodable(full);
    }

    if (target == 0) {
        target = choose_texture_target(width, height);
        // Rectangle textures have no mipmaps; a one-pixel-high image gets a
        // single-level 1-D texture (mipmaps are built for 2-D images only).
        if (target != GL_TEXTURE_2D)
            mipmap = false;
    } else if (target != GL_TEXTURE_2D) {
        mipmap = false;
    }

    GLenum format, internal;
    if (bpp == 32) {
        format = GL_BGRA;
        internal = GL_RGBA;
    } else if (bpp == 24) {
        format = GL_BGR;
        internal = GL_RGB;
    } else {
        FreeImage_Unload(image);
        bad_depth(full, bpp);
    }

    GLuint id = 0;
    glGenTextures(1, &id);
    glEnable(target);
    glBindTexture(target, id);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GLint(wrap));
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GLint(wrap));
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // FreeImage rows are padded to four bytes, GL's default unpack alignment.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const void* bits = FreeImage_GetBits(image);
    if (mipmap) {
        glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        gluBuild2DMipmaps(target, GL_RGBA, GLint(width), GLint(height), format, GL_UNSIGNED_BYTE, bits);
    } else {
        glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        if (target == GL_TEXTURE_1D)
            glTexImage1D(target, 0, GLint(internal), GLsizei(width), 0, format, GL_UNSIGNED_BYTE, bits);
        else
            glTexImage2D(target, 0, GLint(internal), GLsizei(width), GLsizei(height), 0, format,
                         GL_UNSIGNED_BYTE, bits);
    }
    glDisable(target);
    glBindTexture(target, 0);
    check_gl_error("cTextureManager::get_texture " + name);

    cTexture record;
    record.target = target;
    record.id = id;
    record.width = width;
    record.height = height;
    record.unit = -1;
    record.name = base_name(name);
    m_cache[full] = record;
    FreeImage_Unload(image);
    return record;
}

cTextureManager* get_texture_manager()
{
    if (!g_textures)
        g_textures = new cTextureManager();
    return g_textures;
}

void destroy_texture_manager()
{
    delete g_textures;
    g_textures = nullptr;
}

bool texture_manager_exists()
{
    return g_textures != nullptr;
}
