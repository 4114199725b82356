#pragma once
// GL state steps the passes share.
#include <GL/gl.h>

// Pushes both matrices as identity, the model-view one multiplied by the
// unit-square orthographic projection; pop_unit_square restores them
// (model-view mode afterwards).
void push_unit_square();
void pop_unit_square();

// The depth write mask, remembered and restored.
class cDepthMaskGuard {
public:
    cDepthMaskGuard() { glGetBooleanv(GL_DEPTH_WRITEMASK, &m_mask); }
    ~cDepthMaskGuard() { glDepthMask(m_mask); }
    cDepthMaskGuard(const cDepthMaskGuard&) = delete;
    cDepthMaskGuard& operator=(const cDepthMaskGuard&) = delete;

private:
    GLboolean m_mask = GL_TRUE;
};
