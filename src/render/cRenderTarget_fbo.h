#pragma once
// A render target made of a frame-buffer object with a rectangle colour
// texture (addressed in pixels, 0..width x 0..height) and a depth
// renderbuffer shared with every other target of the same pixel count.
#include "render/iRenderTarget.h"

class cRenderTarget_fbo : public iRenderTarget {
public:
    cRenderTarget_fbo(uint32_t w, uint32_t h) : iRenderTarget(w, h) {}
    ~cRenderTarget_fbo() override;

    void create() override;
    void bind(bool clear) override;
    void unbind() override;
    void bind_texture(GLenum unit) override;
    void unbind_texture() override;
    // GL_NEAREST or GL_LINEAR for both minification and magnification.
    void set_filter(GLint mode);

    GLuint fbo = 0;
    GLuint depth_rb = 0;
    GLuint texture = 0;
    GLenum texture_target = GL_TEXTURE_RECTANGLE_ARB;
    GLenum pixel_type = GL_FLOAT;
    GLint bound_unit = -1;
    bool has_depth = true;
    int32_t saved_viewport[4] = {-1, -1, -1, -1};
    GLenum saved_draw_buffer = 0;
};

// Depth renderbuffers currently shared, by pixel count (for tests and
// statistics).
size_t shared_depth_buffer_count();
