#include "scenes/ink_images.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

#include "gl/gl_extensions.h"
#include "post/register_all.h"
#include "render/quad.h"
#include "scenes/show_assets.h"
#include "shaders/cShaderManager_CG.h"
#include "texture/cResourcePath.h"
#include "texture/cTextureManager.h"

void prepare_ink_images(const std::string& dir)
{
    get_resource_path()->push_searchpath(dir);
    register_all_shaders();
}

cTexture load_ink_image(const std::string& file)
{
    return get_texture_manager()->get_texture(file, false, GL_CLAMP_TO_EDGE, 0);
}

std::vector<cTexture> load_ink_series(const std::string& stem, int count)
{
    std::vector<cTexture> images;
    for (int k = 1; k <= count; ++k)
        images.push_back(load_ink_image(show_assets::ink_frame(stem.c_str(), k)));
    return images;
}

void draw_ink_image(const cTexture& image, float x, float y)
{
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(image.target);
    glBindTexture(image.target, image.id);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(x, y, 0.f);
    glScalef(0.7f, 0.7f, 1.f);
    glScalef(1.f, 0.5f, 1.f);
    draw_quad_unit();
    glPopMatrix();
    glBindTexture(image.target, 0);
    glDisable(image.target);
}

cInkPrint::cInkPrint() : m_pass(flat_2d())
{
    glColor4f(1.f, 1.f, 1.f, 1.f);
    glEnable(GL_BLEND);
    ext::glBlendFuncSeparate(GL_ZERO, GL_SRC_COLOR, GL_ONE, GL_ONE);
    // Each copy prints its ink in the current colour and leaves the paper
    // white: colour * (1 - texel) + white * texel. Multiplying the texel by
    // the colour would grey the paper of every copy, and five copies would
    // black out the whole image rectangle.
    get_shader_manager()->unbind();
    const float white[4] = {1.f, 1.f, 1.f, 1.f};
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, white);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_BLEND);
}

cInkPrint::~cInkPrint()
{
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    ext::glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE);
    glDisable(GL_BLEND);
}

float ink_jump(float r)
{
    return std::min(std::max((r - 0.95f) * 20.f, 0.f), 1.f);
}
