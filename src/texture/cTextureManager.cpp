#include "texture/cTextureManager.h"

#include <GL/glext.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "gl/gl_extensions.h"
#include "texture/cResourcePath.h"
#include "texture/texture_image.h"
#include "texture/texture_upload.h"
#include "util/file_bytes.h"
#include "util/fatal_exit.h"

namespace {
cTextureManager* g_textures = nullptr;
const char* const SOURCE_NAME = "cTextureManager.cpp";

bool is_power_of_two(unsigned v)
{
    return v != 0 && (v & (v - 1)) == 0;
}

[[noreturn]] void bad_depth(const std::string& full, unsigned bpp)
{
    std::cerr << "images must be 24 or 32 bpp... \"" << full << "\" is " << bpp << std::endl;
    end_process(-1);
}
// FreeImage's own words, when it had any, follow the file's name.
[[noreturn]] void undecodable(const std::string& full, const std::string& messages)
{
    std::cerr << "## ERROR: \"" << full << "\" could not be decoded as an image";
    if (!messages.empty())
        std::cerr << " (" << messages << ")";
    std::cerr << std::endl;
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

    std::vector<char> bytes;
    if (!read_file_bytes(full, bytes)) {
        std::cerr << "## ERROR: in " << SOURCE_NAME << " line " << __LINE__ << ": unable to open file " << full << ": "
                  << std::strerror(errno) << std::endl;
        end_process(-1);
    }
    cTextureImage image;
    switch (image.decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())) {
    case cTextureImage::undecodable:
        undecodable(full, image.messages);
    case cTextureImage::bad_depth:
        bad_depth(full, image.bpp);
    case cTextureImage::none:
        break;
    }
    bytes = std::vector<char>();
    // A warning of the decoder about an image that loaded all the same.
    if (!image.messages.empty())
        std::cout << "\n*** " << full << ": " << image.messages << " ***" << std::endl;
    const unsigned width = image.width, height = image.height;

    if (target == 0) {
        target = choose_texture_target(width, height);
        // Rectangle textures have no mipmaps; a one-pixel-high image gets a
        // single-level 1-D texture (mipmaps are built for 2-D images only).
        if (target != GL_TEXTURE_2D)
            mipmap = false;
    } else if (target != GL_TEXTURE_2D) {
        mipmap = false;
    }

    GLuint id = 0;
    glGenTextures(1, &id);
    glEnable(target);
    glBindTexture(target, id);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, GLint(wrap));
    glTexParameteri(target, GL_TEXTURE_WRAP_T, GLint(wrap));
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, mipmap ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    upload_texture_image(target, image, mipmap);
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
