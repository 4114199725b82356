#pragma once
// Mesh drawing tests: a temporary data tree (bin/, data/models/,
// data/textures/) with the working directory in bin/, the two mesh
// directories on the search path, and a small orthographic view of
// [-1, 1]² in the window's lower left corner. GL state the tests change is
// saved in SetUp and restored in TearDown.
#include <GL/gl.h>

#include <string>

#include "support/gl_fixture.h"

class MeshGL : public GLTest {
protected:
    static const int VIEW = 32;  // viewport side in pixels

    void SetUp() override;
    void TearDown() override;

    // Writes a text file under data/models/.
    void model(const std::string& name, const std::string& text) const;
    // A 16x16 image in data/textures/ whose 8x8 quadrants have the given
    // colours: bottom left, bottom right, top left, top right.
    void quadrant_image(const std::string& name, Rgba bl, Rgba br, Rgba tl, Rgba tr) const;
    // One colour.
    void plain_image(const std::string& name, Rgba c) const { quadrant_image(name, c, c, c, c); }

    // Light 0 shines along -z with the given diffuse intensity and nothing
    // else; no ambient light.
    static void light(float diffuse);
    static void clear();
    // The pixel at the centre of the view cell (cx, cy) of a 4x4 grid over
    // the view: (0, 0) bottom left, (3, 3) top right.
    static Rgba cell(int cx, int cy);
    // The pixel at the middle of a quadrant of the view, (0, 0) bottom
    // left: away from the texel seams of a quadrant image drawn over it.
    static Rgba quadrant(int qx, int qy) { return read_pixel(VIEW / 4 + qx * VIEW / 2, VIEW / 4 + qy * VIEW / 2); }

    std::string root;

private:
    std::string m_oldCwd;
};

// GL integer state, for terse assertions.
GLint gl_int(GLenum what);
