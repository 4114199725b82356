#pragma once
// Full-screen quad drawing in the unit square (orthographic 0..1 x 0..1,
// depth -1..1). Rectangle textures, render targets among them, are
// addressed in texels, so their quads take the texture's size; 2-D textures
// use 0..1. GL_TEXTURE0_ARB is the active unit before and after each call.
class iRenderTarget;
struct cTexture;

// The quads are drawn inside a cPassState (render/pass_state.h), most
// often with flat_2d().

void draw_quad_rect(float w, float h);
void draw_quad_unit();
// Texture coordinates for units 0 and 1 (and 2) in each target's pixels.
void draw_quad_2tex(const iRenderTarget* a, const iRenderTarget* b);
void draw_quad_3tex(const iRenderTarget* a, const iRenderTarget* b, const iRenderTarget* c);
// The same with texture coordinates for up to four targets, target i on
// unit i (more than four are left out).
void draw_quad_ntex(const iRenderTarget* const* targets, int count);
// The same with the span of each unit's coordinates given (up to eight):
// unit i runs from 0 to w[i] across and 0 to h[i] up.
void draw_quad_spans(const float* w, const float* h, int count);

// The target's picture over the whole viewport, in white.
void draw_target(iRenderTarget* t);
// The texture over the whole viewport, in white.
void draw_texture(const cTexture& texture);
