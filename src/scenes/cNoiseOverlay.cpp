#include "scenes/cNoiseOverlay.h"

#include <GL/glext.h>

#include <vector>

#include "gl/gl_extensions.h"
#include "platform/WindowConfig.h"
#include "render/iRenderTarget.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"
#include "util/random_table.h"

namespace {
cNoiseOverlay* g_noise = nullptr;

void quad(float x, float y, float w, float h, float s, float aspect, float ox, float oy)
{
    glBegin(GL_QUADS);
    glTexCoord2f(s * ox, s * oy / aspect);
    glVertex4f(x, y, 0.f, 1.f);
    glTexCoord2f(s * (ox + 1.f), s * oy / aspect);
    glVertex4f(x + w, y, 0.f, 1.f);
    glTexCoord2f(s * (ox + 1.f), s * (oy + 1.f) / aspect);
    glVertex4f(x + w, y + h, 0.f, 1.f);
    glTexCoord2f(s * ox, s * (oy + 1.f) / aspect);
    glVertex4f(x, y + h, 0.f, 1.f);
    glEnd();
}
}  // namespace

cNoiseOverlay* get_noise_overlay()
{
    if (!g_noise) {
        g_noise = new cNoiseOverlay();
        g_noise->init();
    }
    return g_noise;
}

void cNoiseOverlay::init()
{
    std::vector<unsigned char> pixels(size_t(size) * size_t(size) * 4u);
    for (size_t i = 0; i < size_t(size) * size_t(size); ++i) {
        const float r = next_random(), g = next_random(), b = next_random();
        pixels[i * 4 + 0] = static_cast<unsigned char>(r * 255.f);
        pixels[i * 4 + 1] = static_cast<unsigned char>(g * 255.f);
        pixels[i * 4 + 2] = static_cast<unsigned char>(b * 255.f);
        pixels[i * 4 + 3] = 255;
    }
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    check_gl_error("cNoiseOverlay::init");
}

void cNoiseOverlay::draw(float x, float y, float width, float height, int screenWidth, float aspect, float scale,
                         float strength)
{
    const float ox1 = next_random() * 10.f, oy1 = next_random() * 10.f;
    const float ox2 = next_random() * 10.f, oy2 = next_random() * 10.f;
    const float s = repeat_factor(scale, screenWidth);

    // The enable bits are saved with the colour-buffer state: texturing and
    // lighting are switched here and must not leak to the caller.
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT | GL_CURRENT_BIT);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    GLint src = GL_ONE, dst = GL_ZERO, equation = GL_FUNC_ADD;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    glGetIntegerv(GL_BLEND_EQUATION, &equation);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4f(1.f, 1.f, 1.f, strength);

    ext::glBlendEquationEXT(GL_FUNC_REVERSE_SUBTRACT);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    quad(x, y, width, height, s, aspect, ox1, oy1);

    ext::glBlendEquationEXT(GL_FUNC_ADD);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    quad(x, y, width, height, s, aspect, ox2, oy2);

    ext::glBlendEquationEXT(GLenum(equation));
    glBindTexture(GL_TEXTURE_2D, 0);
    glPopAttrib();
    glBlendFunc(GLenum(src), GLenum(dst));
}

void overlay(iRenderTarget* src, cNoiseOverlay* noise, float scale, float strength)
{
    draw_grained([src] { draw_target(src); }, noise, scale, strength);
}
