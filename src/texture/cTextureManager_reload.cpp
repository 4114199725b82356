// The texture manager's reload: a changed image file replaces the pixels of
// its GL texture, which keeps its name, target, wrap and filters, so every
// holder of the texture record sees the new picture.
#include <GL/gl.h>
#include <limits.h>
#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "gl/gl_extensions.h"
#include "texture/cTextureManager.h"
#include "texture/texture_image.h"
#include "texture/texture_upload.h"
#include "util/file_bytes.h"

namespace {
std::string real_path(const std::string& path)
{
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : path;
}
}  // namespace

int cTextureManager::reload(const std::string& path, std::string& error)
{
    const std::string wanted = real_path(path);
    auto hit = m_cache.begin();
    while (hit != m_cache.end() && real_path(hit->first) != wanted)
        ++hit;
    if (hit == m_cache.end())
        return 0;
    const cTexture& t = hit->second;

    // The same decode step and checks as a first load; what they refuse
    // leaves the texture as it is.
    std::vector<char> bytes;
    if (!read_file_bytes(path, bytes)) {
        error = path + ": not an image that can be read (" + std::strerror(errno) + ")";
        return -1;
    }
    cTextureImage image;
    const cTextureImage::eFault fault =
        image.decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (fault == cTextureImage::undecodable) {
        error = path + ": not an image that can be read";
        if (!image.messages.empty())
            error += " (" + image.messages + ")";
        return -1;
    }
    if (fault == cTextureImage::bad_depth) {
        error = path + ": images must be 24 or 32 bpp, this one is " + std::to_string(image.bpp);
        return -1;
    }
    // Holders keep the size in their copies of the record (rectangle
    // textures are addressed by it): a new size needs a restart.
    if (image.width != t.width || image.height != t.height) {
        error = path + ": the image is " + std::to_string(image.width) + "x" + std::to_string(image.height) +
                ", the texture " + std::to_string(t.width) + "x" + std::to_string(t.height) +
                "; restart the show for a new size";
        return -1;
    }
    glPushAttrib(GL_TEXTURE_BIT | GL_ENABLE_BIT);
    glBindTexture(t.target, t.id);
    // The texture keeps what its first load chose: mipmaps or one level.
    GLint minFilter = GL_LINEAR;
    glGetTexParameteriv(t.target, GL_TEXTURE_MIN_FILTER, &minFilter);
    upload_texture_image(t.target, image, minFilter == GL_LINEAR_MIPMAP_LINEAR);
    glBindTexture(t.target, 0);
    glPopAttrib();
    check_gl_error("cTextureManager::reload " + path);
    return 1;
}
