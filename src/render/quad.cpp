#include "render/quad.h"

#include <GL/gl.h>

#include <algorithm>

#include "gl/gl_extensions.h"
#include "render/iRenderTarget.h"
#include "render/pass_profile.h"
#include "render/pass_state.h"
#include "texture/cTexture.h"

namespace {
void quad_corners(void (*coords)(float u, float v, const void*), const void* data)
{
    cPlainDrawScope pass("plain_quad");
    glBegin(GL_QUADS);
    coords(0.f, 0.f, data);
    glVertex2f(0.f, 0.f);
    coords(1.f, 0.f, data);
    glVertex2f(1.f, 0.f);
    coords(1.f, 1.f, data);
    glVertex2f(1.f, 1.f);
    coords(0.f, 1.f, data);
    glVertex2f(0.f, 1.f);
    glEnd();
}

struct Sizes {
    int count;
    float w[8], h[8];
};

void multi_coords(float u, float v, const void* data)
{
    const Sizes* s = static_cast<const Sizes*>(data);
    for (int i = 0; i < s->count; ++i)
        ext::glMultiTexCoord2fARB(GL_TEXTURE0_ARB + GLenum(i), u * s->w[i], v * s->h[i]);
}
}  // namespace

void draw_quad_rect(float w, float h)
{
    cPlainDrawScope pass("plain_quad");
    glBegin(GL_QUADS);
    glTexCoord2f(0.f, 0.f);
    glVertex2f(0.f, 0.f);
    glTexCoord2f(w, 0.f);
    glVertex2f(1.f, 0.f);
    glTexCoord2f(w, h);
    glVertex2f(1.f, 1.f);
    glTexCoord2f(0.f, h);
    glVertex2f(0.f, 1.f);
    glEnd();
}

void draw_quad_unit()
{
    draw_quad_rect(1.f, 1.f);
}

void draw_quad_2tex(const iRenderTarget* a, const iRenderTarget* b)
{
    Sizes s{2, {float(a->width), float(b->width)}, {float(a->height), float(b->height)}};
    quad_corners(multi_coords, &s);
}

void draw_quad_3tex(const iRenderTarget* a, const iRenderTarget* b, const iRenderTarget* c)
{
    Sizes s{3, {float(a->width), float(b->width), float(c->width)},
            {float(a->height), float(b->height), float(c->height)}};
    quad_corners(multi_coords, &s);
}

void draw_quad_ntex(const iRenderTarget* const* targets, int count)
{
    float w[4], h[4];
    const int n = std::min(std::max(count, 0), 4);
    for (int i = 0; i < n; ++i) {
        w[i] = float(targets[i]->width);
        h[i] = float(targets[i]->height);
    }
    draw_quad_spans(w, h, n);
}

void draw_quad_spans(const float* w, const float* h, int count)
{
    Sizes s{std::min(std::max(count, 0), 8), {}, {}};
    for (int i = 0; i < s.count; ++i) {
        s.w[i] = w[i];
        s.h[i] = h[i];
    }
    quad_corners(multi_coords, &s);
}

void draw_target(iRenderTarget* t)
{
    cPassState pass(flat_2d());
    glColor4f(1.f, 1.f, 1.f, 1.f);
    t->bind_texture(GL_TEXTURE0_ARB);
    draw_quad_rect(float(t->width), float(t->height));
    t->unbind_texture();
}

void draw_texture(const cTexture& texture)
{
    cPassState pass(flat_2d());
    glColor4f(1.f, 1.f, 1.f, 1.f);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(texture.target);
    glBindTexture(texture.target, texture.id);
    if (texture.target == GL_TEXTURE_RECTANGLE_ARB)
        draw_quad_rect(float(texture.width), float(texture.height));
    else
        draw_quad_unit();
    glDisable(texture.target);
    glBindTexture(texture.target, 0);
}
