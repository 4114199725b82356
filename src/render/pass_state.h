#pragma once
// One way to enter and leave a pass: a cPassState saves what its options
// say the pass changes, sets up what they ask for, and puts everything back
// when it goes out of scope, in the reverse order.
//
//   cPassState pass(flat_2d().off(GL_BLEND).shaders(get_shader_manager()));
//
// What it can keep: attribute groups (glPushAttrib's mask), the projection
// and model-view matrices (the matrix mode too), the depth write mask, the
// shader stack, the viewport and a bound render target. What it can set up:
// capabilities switched off, depth writes off, blending for an overlay, and
// one of two unit-square orthographic frames (0..1 on both axes, depth -1..1):
// on the model-view with an identity projection, which is what the image
// passes and quads draw in, or on the projection with an identity
// model-view, which is what overlays draw in. The two give the same picture
// for the same vertices but leave different matrices to whatever draws
// inside, so each set-up keeps its own.
#include <GL/gl.h>

#include <cstddef>
#include <initializer_list>

class iRenderTarget;
class iShaderStack;

enum class ePassMatrices {
    None,                // the matrices are not touched
    Kept,                // both pushed as they are and popped on leaving
    UnitSquareOnModelView,   // projection identity, model-view the unit square
    UnitSquareOnProjection,  // projection the unit square, model-view identity
};

struct cPassOptions {
    static constexpr size_t MAX_OFF = 8;

    GLbitfield attributes = 0;
    GLenum switched_off[MAX_OFF] = {};
    size_t off_count = 0;
    bool depth_writes_off = false;
    bool overlay_blend = false;
    ePassMatrices matrices = ePassMatrices::None;
    iShaderStack* shader_stack = nullptr;
    bool viewport = false;
    iRenderTarget* target = nullptr;
    bool clear_target = false;

    // Attribute groups pushed on entering, popped last on leaving.
    cPassOptions& save(GLbitfield bits);
    // Capabilities switched off after the attributes are pushed (keep
    // GL_ENABLE_BIT among them to have them back).
    cPassOptions& off(std::initializer_list<GLenum> caps);
    cPassOptions& off(GLenum cap) { return off({cap}); }
    // Depth writes off; the write mask is put back on leaving.
    cPassOptions& no_depth_writes();
    // Blending on, source alpha over one minus source alpha.
    cPassOptions& blend_over();
    cPassOptions& keep_matrices();
    cPassOptions& unit_square_on_model_view();
    cPassOptions& unit_square_on_projection();
    // The shader bound on entering is bound again on leaving.
    cPassOptions& shaders(iShaderStack* stack);
    cPassOptions& keep_viewport();
    // Drawing goes into target (cleared when asked) until the pass ends;
    // then into what was bound before.
    cPassOptions& into(iRenderTarget* t, bool clear = false);
};

// The quads' set-up: current colour and enable bits kept; lighting, depth
// test, alpha test and fog off; no depth writes; the unit square on the
// model-view.
cPassOptions flat_2d();
// Drawing over the finished picture in window units: every attribute kept;
// no depth, lighting, culling, alpha test or texturing; blended; the unit
// square on the projection.
cPassOptions overlay_2d();
// A layer scene's render: every attribute and both matrices kept, so that
// its own camera and lights leave the composition's state as it was.
cPassOptions scene_state();

class cPassState {
public:
    explicit cPassState(const cPassOptions& options);
    ~cPassState();
    cPassState(const cPassState&) = delete;
    cPassState& operator=(const cPassState&) = delete;

private:
    cPassOptions m_options;
    GLboolean m_depthMask = GL_TRUE;
    GLint m_matrixMode = GL_MODELVIEW;
    GLint m_viewport[4] = {0, 0, 0, 0};
    GLint m_framebuffer = 0;
};
