// Morph meshes: the base shape at factor 0, the target shape at 1, drawn
// through "morph_shader" with the target's streams on units 3 and 4.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "gl/gl_extensions.h"
#include "mesh/mesh_gl_fixture.h"
#include "mesh_files/cMeshMorph.h"
#include "mesh_files/cMeshObj.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/cShdMorphDtex.h"
#include "support/shader_setup.h"

namespace {
// A quad over [x0, x1] x [-1, 1]; base and target have the same vertex
// order because their files have the same structure.
std::string quad_obj(int x0, int x1)
{
    const std::string a = std::to_string(x0), b = std::to_string(x1);
    return "mtllib morph.mtl\n"
           "v " + a + " -1 0\nv " + b + " -1 0\nv " + b + " 1 0\nv " + a + " 1 0\n"
           "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
           "vn 0 0 1\n"
           "usemtl white\n"
           "f 1/1/1 2/2/1 3/3/1 4/4/1\n";
}

class MeshMorph : public MeshGL {
protected:
    void SetUp() override
    {
        MeshGL::SetUp();
        shaders = start_shaders();
        testing::internal::CaptureStderr();
        register_shader<cShdMorphDtex>("morph_shader");
        register_shader<cShdMorphDtex>("other_shader");
        testing::internal::GetCapturedStderr();
        model("morph.mtl", "newmtl white\nKa 0 0 0\nKd 1 1 1\nillum 1\nmap_Kd white.png\n");
        plain_image("white.png", {255, 255, 255, 255});
        model("morph_in.obj", quad_obj(-1, 0));
        model("morph_out.obj", quad_obj(0, 1));
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        morph.loadMorph("morph_in.obj", "../data/models/morph_out.obj");
        testing::internal::GetCapturedStderr();
        testing::internal::GetCapturedStdout();
        light(1.0f);
    }
    // Left and right halves of the view, one row: lit or not.
    bool lit(int cx) { return cell(cx, 1).r > 200; }

    cShaderManager_CG* shaders = nullptr;
    cMeshMorph morph;
};
}  // namespace

TEST_F(MeshMorph, FactorZeroDrawsTheBaseAndOneTheTarget)
{
    cMeshMorph::setMorph(0.f);
    clear();
    morph.draw();
    EXPECT_TRUE(lit(0) && lit(1));
    EXPECT_FALSE(lit(2) || lit(3));
    EXPECT_TRUE(near_rgba(cell(0, 1), {255, 255, 255, 255}, 3));

    cMeshMorph::setMorph(1.f);
    clear();
    morph.draw();
    EXPECT_FALSE(lit(0) || lit(1));
    EXPECT_TRUE(lit(2) && lit(3));

    // Halfway: the quad sits in the middle.
    cMeshMorph::setMorph(0.5f);
    clear();
    morph.draw();
    EXPECT_FALSE(lit(0));
    EXPECT_TRUE(lit(1) && lit(2));
    EXPECT_FALSE(lit(3));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(MeshMorph, DrawRestoresTheShaderAndTheClientArrays)
{
    EXPECT_EQ(shaders->current, "null_shader");
    morph.draw();
    EXPECT_EQ(shaders->current, "null_shader");

    shaders->bind("other_shader");
    morph.draw();
    EXPECT_EQ(shaders->current, "other_shader");
    shaders->unbind();

    // The target's records remember how they were bound.
    cVertexBuffer& p = morph.target->getBuffer(cMeshObj::POSITION_BUFFER);
    cVertexBuffer& n = morph.target->getBuffer(cMeshObj::NORMAL_BUFFER);
    EXPECT_EQ(p.kind, cVertexBuffer::TEXCOORDS);
    EXPECT_EQ(p.unit, GLenum(GL_TEXTURE3));
    EXPECT_EQ(n.unit, GLenum(GL_TEXTURE4));
    for (GLenum unit : {GL_TEXTURE0, GL_TEXTURE3, GL_TEXTURE4}) {
        ext::glClientActiveTextureARB(unit);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY)) << "unit " << unit - GL_TEXTURE0;
    }
    ext::glClientActiveTextureARB(GL_TEXTURE0);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_EQ(gl_int(GL_ARRAY_BUFFER_BINDING), 0);
}

TEST_F(MeshGL, MorphDrawnBeforeLoadingDrawsNothing)
{
    cMeshMorph morph;
    EXPECT_EQ(morph.m_type, 0);
    testing::internal::CaptureStderr();
    morph.draw();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("drawn before loadMorph"), std::string::npos);
    EXPECT_EXIT(morph.loadMorph("base.OBJ", "target.obj"), testing::ExitedWithCode(255),
                "cMeshMorph::loadMorph: no mesh for \"base.OBJ\"");
}
