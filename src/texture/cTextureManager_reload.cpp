// The texture manager's reload: a changed image file replaces the pixels of
// its GL texture, which keeps its name, target, wrap and filters, so every
// holder of the texture record sees the new picture.
#include <FreeImage.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <limits.h>
#include <stdlib.h>

#include "gl/gl_extensions.h"
#include "texture/cTextureManager.h"

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

    const FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path.c_str(), 0);
    FIBITMAP* image = fif == FIF_UNKNOWN ? nullptr : FreeImage_Load(fif, path.c_str(), 0);
    if (!image || !FreeImage_GetBits(image)) {
        if (image)
            FreeImage_Unload(image);
        error = path + ": not an image that can be read";
        return -1;
    }
    const unsigned width = FreeImage_GetWidth(image);
    const unsigned height = FreeImage_GetHeight(image);
    const unsigned bpp = FreeImage_GetBPP(image);
    if (bpp != 24 && bpp != 32) {
        FreeImage_Unload(image);
        error = path + ": images must be 24 or 32 bpp, this one is " + std::to_string(bpp);
        return -1;
    }
    // Holders keep the size in their copies of the record (rectangle
    // textures are addressed by it): a new size needs a restart.
    if (width != t.width || height != t.height) {
        FreeImage_Unload(image);
        error = path + ": the image is " + std::to_string(width) + "x" + std::to_string(height) + ", the texture " +
                std::to_string(t.width) + "x" + std::to_string(t.height) + "; restart the show for a new size";
        return -1;
    }
    const GLenum format = bpp == 32 ? GL_BGRA : GL_BGR;
    const GLint internal = bpp == 32 ? GL_RGBA : GL_RGB;
    glPushAttrib(GL_TEXTURE_BIT | GL_ENABLE_BIT);
    glBindTexture(t.target, t.id);
    GLint minFilter = GL_LINEAR;
    glGetTexParameteriv(t.target, GL_TEXTURE_MIN_FILTER, &minFilter);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const void* bits = FreeImage_GetBits(image);
    if (minFilter == GL_LINEAR_MIPMAP_LINEAR)
        gluBuild2DMipmaps(t.target, GL_RGBA, GLint(width), GLint(height), format, GL_UNSIGNED_BYTE, bits);
    else if (t.target == GL_TEXTURE_1D)
        glTexImage1D(t.target, 0, internal, GLsizei(width), 0, format, GL_UNSIGNED_BYTE, bits);
    else
        glTexImage2D(t.target, 0, internal, GLsizei(width), GLsizei(height), 0, format, GL_UNSIGNED_BYTE, bits);
    glBindTexture(t.target, 0);
    glPopAttrib();
    FreeImage_Unload(image);
    check_gl_error("cTextureManager::reload " + path);
    return 1;
}
