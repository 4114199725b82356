#pragma once
// The one step from a decoded image to the pixels of a GL texture: the
// texture bound to `target` takes the image as its level 0, or as a full
// chain of mipmaps built from it. The texture manager uses it for a new
// texture and again when a tuning session reloads a changed file, so both
// hand GL the same pixels the same way.
#include <GL/gl.h>

class cTextureImage;

// `image` decoded without a fault (24 or 32 bits per pixel). Mipmaps are
// built for 2-D textures only; a 1-D target takes one row.
void upload_texture_image(GLenum target, const cTextureImage& image, bool mipmap);
