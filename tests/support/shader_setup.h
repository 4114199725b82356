#pragma once
// Shader tests: the shader sources of the source tree on the resource path
// and a started shader manager, plus GL read-back and state helpers.
#include <GL/gl.h>

#include <string>
#include <vector>

#include "support/gl_fixture.h"

class iRenderTarget;
class cShaderManager_CG;

// Pushes src/shaders and src/shaders/comp and runs init_cg (its lines are
// swallowed). Returns the manager.
cShaderManager_CG* start_shaders();
// start_shaders, the image passes' shaders (post, composition, glow)
// registered quietly, and the render-target pool's clock at 0.
cShaderManager_CG* start_pass_shaders();

// Every pixel of a target, bottom row first.
std::vector<Rgba> read_target(iRenderTarget* target);
// Fills a target with one colour (0..255 per channel).
void fill_target(iRenderTarget* target, Rgba colour);
// Draws a filled rectangle of pixels [x0, x1) x [y0, y1) into a target.
void paint_rect(iRenderTarget* target, int x0, int y0, int x1, int y1, Rgba colour);

// What a pass must leave as it found it, read from GL.
struct GLStateSnapshot {
    GLint program = 0;
    std::string current;  // the shader manager's bound name
    float projection[16] = {};
    float modelview[16] = {};
    GLint matrixMode = 0;
    GLboolean depthMask = GL_FALSE;
    std::vector<GLboolean> enables;
    GLint activeTexture = 0;
    bool operator==(const GLStateSnapshot& o) const;
    std::string describe() const;
};
GLStateSnapshot snapshot_gl_state();

// A temporary directory of files, removed with the object.
struct TempDir {
    TempDir();
    ~TempDir();
    void write(const std::string& name, const std::string& text) const;
    std::string path;
};
