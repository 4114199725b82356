#pragma once
// Film grain over a finished picture: a 128x128 texture of random colours
// drawn twice over the picture at random offsets, once subtracted and once
// added, at a low strength, so the grain moves every frame while the mean
// brightness stays put. One instance per process, made on first use and
// never released.
#include <GL/gl.h>

#include <cstdint>

#include "platform/WindowConfig.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"

class iRenderTarget;

class cNoiseOverlay {
public:
    // Builds the texture from the shared random table (three draws per
    // texel, in row order).
    void init();
    // The grain over the bound target: the quad (x, y, width, height) in
    // the current projection; one noise texel covers `scale` screen pixels
    // across a screen `screenWidth` pixels wide; aspect keeps texels square.
    void draw(float x, float y, float width, float height, int screenWidth, float aspect, float scale,
              float strength);

    // How often the texture repeats across the quad for a scale and width.
    static float repeat_factor(float scale, int screenWidth) { return (1.f / scale) * float(screenWidth) / 128.f; }

    GLuint texture = 0;
    int32_t size = 128;
};

cNoiseOverlay* get_noise_overlay();

// The picture `draw` puts over the whole bound target, then the grain over
// it, for the window configuration's size; no shader is bound while either
// is drawn, unless `draw` binds its own.
template <typename Draw>
void draw_grained(Draw draw, cNoiseOverlay* noise, float scale, float strength)
{
    if (shader_manager_exists())
        get_shader_manager()->unbind();
    cPassState saved(cPassOptions().save(GL_COLOR_BUFFER_BIT));
    glDisable(GL_BLEND);
    draw();
    cPassState quad(flat_2d());
    glColor4f(1.f, 1.f, 1.f, 1.f);
    const WindowConfig* w = window_config();
    noise->draw(0.f, 0.f, 1.f, 1.f, w->width, float(w->width) / float(w->height), scale, strength);
}

// src over the whole bound target, then the grain over it.
void overlay(iRenderTarget* src, cNoiseOverlay* noise, float scale, float strength);
