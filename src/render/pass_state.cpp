#include "render/pass_state.h"

#include <GL/glext.h>

#include "gl/gl_extensions.h"
#include "render/iRenderTarget.h"
#include "render/shader_stack.h"

cPassOptions& cPassOptions::save(GLbitfield bits)
{
    attributes |= bits;
    return *this;
}

cPassOptions& cPassOptions::off(std::initializer_list<GLenum> caps)
{
    // More capabilities than the table holds is a mistake in the caller's
    // code, not in data: the extra ones are left on rather than written
    // past the end.
    for (GLenum cap : caps)
        if (off_count < MAX_OFF)
            switched_off[off_count++] = cap;
    return *this;
}

cPassOptions& cPassOptions::no_depth_writes()
{
    depth_writes_off = true;
    return *this;
}

cPassOptions& cPassOptions::blend_over()
{
    overlay_blend = true;
    return *this;
}

cPassOptions& cPassOptions::keep_matrices()
{
    matrices = ePassMatrices::Kept;
    return *this;
}

cPassOptions& cPassOptions::unit_square_on_model_view()
{
    matrices = ePassMatrices::UnitSquareOnModelView;
    return *this;
}

cPassOptions& cPassOptions::unit_square_on_projection()
{
    matrices = ePassMatrices::UnitSquareOnProjection;
    return *this;
}

cPassOptions& cPassOptions::shaders(iShaderStack* stack)
{
    shader_stack = stack;
    return *this;
}

cPassOptions& cPassOptions::keep_viewport()
{
    viewport = true;
    return *this;
}

cPassOptions& cPassOptions::into(iRenderTarget* t, bool clear)
{
    target = t;
    clear_target = clear;
    return *this;
}

cPassOptions flat_2d()
{
    return cPassOptions()
        .save(GL_CURRENT_BIT | GL_ENABLE_BIT)
        .off({GL_LIGHTING, GL_DEPTH_TEST, GL_ALPHA_TEST, GL_FOG})
        .no_depth_writes()
        .unit_square_on_model_view();
}

cPassOptions overlay_2d()
{
    return cPassOptions()
        .save(GL_ALL_ATTRIB_BITS)
        .no_depth_writes()
        .off({GL_LIGHTING, GL_DEPTH_TEST, GL_CULL_FACE, GL_ALPHA_TEST, GL_TEXTURE_1D, GL_TEXTURE_2D,
              GL_TEXTURE_RECTANGLE_ARB})
        .blend_over()
        .unit_square_on_projection();
}

cPassOptions scene_state()
{
    return cPassOptions().save(GL_ALL_ATTRIB_BITS).keep_matrices();
}

namespace {
// Pushes the matrix of `mode` and loads identity, or the unit square.
void push_loaded(GLenum mode, bool unit_square)
{
    glMatrixMode(mode);
    glPushMatrix();
    glLoadIdentity();
    if (unit_square)
        glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
}
}  // namespace

cPassState::cPassState(const cPassOptions& options) : m_options(options)
{
    if (m_options.attributes)
        glPushAttrib(m_options.attributes);
    if (m_options.viewport)
        glGetIntegerv(GL_VIEWPORT, m_viewport);
    if (m_options.depth_writes_off)
        glGetBooleanv(GL_DEPTH_WRITEMASK, &m_depthMask);
    for (size_t i = 0; i < m_options.off_count; ++i)
        glDisable(m_options.switched_off[i]);
    if (m_options.overlay_blend) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    if (m_options.depth_writes_off)
        glDepthMask(GL_FALSE);
    if (m_options.shader_stack)
        m_options.shader_stack->push_shader();
    switch (m_options.matrices) {
    case ePassMatrices::None: break;
    case ePassMatrices::Kept:
        glGetIntegerv(GL_MATRIX_MODE, &m_matrixMode);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        break;
    case ePassMatrices::UnitSquareOnModelView:
        glGetIntegerv(GL_MATRIX_MODE, &m_matrixMode);
        push_loaded(GL_PROJECTION, false);
        push_loaded(GL_MODELVIEW, true);
        break;
    case ePassMatrices::UnitSquareOnProjection:
        glGetIntegerv(GL_MATRIX_MODE, &m_matrixMode);
        push_loaded(GL_PROJECTION, true);
        push_loaded(GL_MODELVIEW, false);
        break;
    }
    if (m_options.target) {
        glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &m_framebuffer);
        m_options.target->bind(m_options.clear_target);
    }
}

cPassState::~cPassState()
{
    if (m_options.target) {
        m_options.target->unbind();
        // A target's unbind draws to the window; a pass inside another's
        // target goes back to that one.
        if (m_framebuffer != 0)
            ext::glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, GLuint(m_framebuffer));
    }
    if (m_options.matrices != ePassMatrices::None) {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glMatrixMode(GLenum(m_matrixMode));
    }
    if (m_options.shader_stack)
        m_options.shader_stack->pop_shader();
    if (m_options.depth_writes_off)
        glDepthMask(m_depthMask);
    if (m_options.viewport)
        glViewport(m_viewport[0], m_viewport[1], m_viewport[2], m_viewport[3]);
    if (m_options.attributes)
        glPopAttrib();
}
