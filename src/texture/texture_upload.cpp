#include "texture/texture_upload.h"

#include <GL/glext.h>
#include <GL/glu.h>

#include "texture/texture_image.h"

void upload_texture_image(GLenum target, const cTextureImage& image, bool mipmap)
{
    // FreeImage keeps its pixels as BGR(A), rows padded to four bytes:
    // GL's default unpack alignment, set here in case someone changed it.
    const GLenum format = image.bpp == 32 ? GL_BGRA : GL_BGR;
    const GLint internal = image.bpp == 32 ? GL_RGBA : GL_RGB;
    const GLsizei width = GLsizei(image.width), height = GLsizei(image.height);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (mipmap)
        gluBuild2DMipmaps(target, GL_RGBA, width, height, format, GL_UNSIGNED_BYTE, image.bits());
    else if (target == GL_TEXTURE_1D)
        glTexImage1D(target, 0, internal, width, 0, format, GL_UNSIGNED_BYTE, image.bits());
    else
        glTexImage2D(target, 0, internal, width, height, 0, format, GL_UNSIGNED_BYTE, image.bits());
}
