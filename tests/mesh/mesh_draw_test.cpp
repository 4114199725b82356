// Vertex-buffer meshes drawn with a real GL context and checked by pixel
// read-back, and the GL state a draw leaves behind.
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "gl/gl_extensions.h"
#include "mesh/mesh_gl_fixture.h"
#include "mesh_files/cMeshManager.h"
#include "mesh_files/cMeshObj.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/scene_shaders.h"
#include "support/shader_setup.h"

namespace {
const Rgba BLACK = {0, 0, 0, 255};
const Rgba RED = {255, 0, 0, 255};
const Rgba GREEN = {0, 255, 0, 255};
const Rgba BLUE = {0, 0, 255, 255};
const Rgba WHITE = {255, 255, 255, 255};

// A mesh built in code: quads side by side across [-1, 1]² (one per
// column), each two triangles, counter-clockwise towards the viewer.
cMeshObj* quads(int columns, uint8_t flags)
{
    cMeshObj* m = new cMeshObj();
    m->m_type = flags;
    for (int c = 0; c < columns; ++c) {
        const float x0 = -1.f + 2.f * c / columns, x1 = -1.f + 2.f * (c + 1) / columns;
        const float corners[4][2] = {{x0, -1}, {x1, -1}, {x1, 1}, {x0, 1}};
        for (const auto& p : corners) {
            m->positions.insert(m->positions.end(), {p[0], p[1], 0.f});
            m->normals.insert(m->normals.end(), {0.f, 0.f, 1.f});
            m->texcoords.insert(m->texcoords.end(), {(p[0] + 1) / 2, (p[1] + 1) / 2});
        }
        const uint32_t b = uint32_t(4 * c);
        m->indices.insert(m->indices.end(), {b, b + 1, b + 2, b, b + 2, b + 3});
    }
    return m;
}

// A material that shows one colour whatever the light: illumination model
// 0 emits its diffuse colour.
cMaterial_GL emitting(float r, float g, float b)
{
    cMaterial_GL m("flat");
    m.Kd[0] = r;
    m.Kd[1] = g;
    m.Kd[2] = b;
    m.Kd[3] = 1.f;
    return m;
}

const char* const QUAD_OBJ =
    "mtllib painted.mtl\n"
    "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\n"
    "usemtl painted\n"
    "f 1/1/1 2/2/1 3/3/1 4/4/1\n";

// Two quads, left and right, the right one named first with the second
// material of the library.
const char* const TWO_MATERIAL_OBJ =
    "mtllib two.mtl\n"
    "v -1 -1 0\nv 0 -1 0\nv 0 1 0\nv -1 1 0\nv 1 -1 0\nv 1 1 0\n"
    "vt 0 0\n"
    "vn 0 0 1\n"
    "usemtl blue\n"
    "f 2/1/1 5/1/1 6/1/1 3/1/1\n"
    "usemtl red\n"
    "f 1/1/1 2/1/1 3/1/1 4/1/1\n";
const char* const TWO_MTL =
    "newmtl red\nKa 0 0 0\nKd 1 0 0\nillum 1\n"
    "newmtl blue\nKa 0 0 0\nKd 0 0 1\nillum 1\n";
}  // namespace

TEST_F(MeshGL, LitTexturedQuadShowsTheTextureUnderTheLight)
{
    // The material's own diffuse colour is dark; with a diffuse texture it
    // is replaced by white, so the texture shows at the light's strength.
    model("painted.mtl", "newmtl painted\nKa 0 0 0\nKd 0.2 0.2 0.2\nillum 1\nmap_Kd four.png\n");
    model("lit_quad.obj", QUAD_OBJ);
    quadrant_image("four.png", RED, GREEN, BLUE, WHITE);
    iMesh* mesh = cMeshManager::instance()->getMesh("lit_quad.obj", false);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->m_type, MT_TEXCOORDS | MT_NORMALS | MT_MATERIALS);

    light(0.5f);
    clear();
    mesh->draw();
    EXPECT_TRUE(near_rgba(quadrant(0, 0), {128, 0, 0, 255}, 3));
    EXPECT_TRUE(near_rgba(quadrant(1, 0), {0, 128, 0, 255}, 3));
    EXPECT_TRUE(near_rgba(quadrant(0, 1), {0, 0, 128, 255}, 3));
    EXPECT_TRUE(near_rgba(quadrant(1, 1), {128, 128, 128, 255}, 3));

    light(1.0f);
    clear();
    mesh->draw();
    EXPECT_TRUE(near_rgba(quadrant(0, 0), RED, 3));
    EXPECT_TRUE(near_rgba(quadrant(1, 1), WHITE, 3));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(MeshGL, TwoMaterialMeshShowsBothColoursAndLeavesTheStateClean)
{
    model("two.mtl", TWO_MTL);
    model("two_materials.obj", TWO_MATERIAL_OBJ);
    cMeshObj* mesh = dynamic_cast<cMeshObj*>(cMeshManager::instance()->getMesh("two_materials.obj", false));
    ASSERT_NE(mesh, nullptr);
    ASSERT_EQ(mesh->group_count(), 2u);
    EXPECT_EQ(mesh->groups[0].material, 0u) << "the red group (material 0) comes first";

    light(1.0f);
    clear();
    mesh->draw();
    EXPECT_TRUE(near_rgba(cell(0, 1), RED, 3));
    EXPECT_TRUE(near_rgba(cell(3, 2), BLUE, 3));

    // The index buffer stays bound for whoever draws next; the vertex
    // arrays are off, on client unit 0, and texturing is off on units 0-2.
    EXPECT_EQ(GLuint(gl_int(GL_ELEMENT_ARRAY_BUFFER_BINDING)), mesh->getBuffer(cMeshObj::INDEX_BUFFER).name);
    EXPECT_NE(mesh->getBuffer(cMeshObj::INDEX_BUFFER).name, 0u);
    EXPECT_EQ(gl_int(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_EQ(gl_int(GL_CLIENT_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    for (GLenum unit : {GL_TEXTURE2, GL_TEXTURE1, GL_TEXTURE0}) {
        ext::glActiveTextureARB(unit);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "unit " << unit - GL_TEXTURE0;
        EXPECT_EQ(gl_int(GL_TEXTURE_BINDING_2D), 0);
    }
    EXPECT_EQ(gl_int(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(MeshGL, MeshWithoutNormalsOrTexcoordsUsesOnlyTheVertexArray)
{
    cMeshObj* mesh = quads(1, 0);
    mesh->upload(true);
    light(1.0f);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glColor3f(0.f, 1.f, 0.f);

    // With no normal array the current normal lights the quad: facing the
    // light it is lit, facing away it is dark.
    glNormal3f(0, 0, 1);
    clear();
    mesh->draw();
    EXPECT_TRUE(near_rgba(cell(1, 1), GREEN, 3));
    glNormal3f(0, 0, -1);
    clear();
    mesh->draw();
    EXPECT_TRUE(near_rgba(cell(1, 1), BLACK, 3));

    // With no texture-coordinate array the current texture coordinate
    // picks one texel for the whole quad.
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    const GLubyte texels[2 * 4] = {255, 0, 0, 255, 0, 0, 255, 255};  // red, blue
    GLuint tex = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glEnable(GL_TEXTURE_2D);
    glTexCoord2f(0.75f, 0.5f);
    clear();
    mesh->draw();
    EXPECT_TRUE(near_rgba(cell(0, 0), BLUE, 3));
    EXPECT_TRUE(near_rgba(cell(3, 3), BLUE, 3));
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &tex);

    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_EQ(gl_int(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    delete mesh;
}

TEST_F(MeshGL, EachMaterialGroupIsOneDrawOfItsRange)
{
    // Two quads, but the one group covers only the first: one draw of
    // indices 0-5, the right quad stays empty.
    cMeshObj* mesh = quads(2, MT_MATERIALS);
    mesh->gl_materials.push_back(emitting(1, 0, 0));
    mesh->groups = {{0, 0}, {6, NO_MATERIAL}};
    mesh->upload(true);
    clear();
    mesh->draw();
    EXPECT_TRUE(near_rgba(cell(0, 1), RED, 3));
    EXPECT_TRUE(near_rgba(cell(3, 1), {0, 0, 0, 0}, 3));

    // Only the sentinel: nothing is drawn, and the texture units are still
    // reset, unit 0 left active.
    mesh->groups = {{12, NO_MATERIAL}};
    GLuint tex = 0;
    glGenTextures(1, &tex);
    ext::glActiveTextureARB(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, tex);
    glEnable(GL_TEXTURE_2D);
    clear();
    mesh->draw();
    EXPECT_TRUE(near_rgba(cell(0, 1), {0, 0, 0, 0}, 3));
    EXPECT_EQ(gl_int(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    ext::glActiveTextureARB(GL_TEXTURE1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(gl_int(GL_TEXTURE_BINDING_2D), 0);
    ext::glActiveTextureARB(GL_TEXTURE0);
    glDeleteTextures(1, &tex);

    // Without the materials flag the groups are ignored: one draw of all.
    mesh->clear(MT_MATERIALS);
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    clear();
    mesh->draw();
    EXPECT_TRUE(near_rgba(cell(0, 1), WHITE, 3));
    EXPECT_TRUE(near_rgba(cell(3, 1), WHITE, 3));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    delete mesh;
}

TEST_F(MeshGL, GroupsThatDoNotFitTheMeshAreDrawnSafely)
{
    cMeshObj* mesh = quads(2, MT_MATERIALS);
    mesh->gl_materials.push_back(emitting(1, 0, 0));
    // Material 7 does not exist: the left quad is drawn with the material
    // state as it stands (green). A group that runs backwards or past the
    // indices is not drawn at all.
    mesh->groups = {{0, 7}, {6, 0}, {3, 0}, {40, NO_MATERIAL}};
    mesh->upload(true);
    const GLfloat green[4] = {0, 1, 0, 1};
    const GLfloat black[4] = {0, 0, 0, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, green);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
    clear();
    mesh->draw();
    EXPECT_TRUE(near_rgba(cell(0, 1), GREEN, 3));
    EXPECT_TRUE(near_rgba(cell(3, 1), {0, 0, 0, 0}, 3));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    delete mesh;
}

TEST_F(MeshGL, UploadLeavesOneDummyPerVertexArrayAndFillsTheBuffers)
{
    cMeshObj* mesh = quads(2, MT_NORMALS | MT_TEXCOORDS);
    mesh->upload(false);
    EXPECT_EQ(mesh->positions.size(), 24u) << "kept without releaseClientArrays";
    mesh->upload(true);  // the same data again, then released
    for (auto* v : {&mesh->positions, &mesh->normals, &mesh->texcoords}) {
        ASSERT_EQ(v->size(), 1u);
        EXPECT_EQ((*v)[0], 0.0f);
    }
    EXPECT_EQ(mesh->indices.size(), 12u);

    auto sizeOf = reinterpret_cast<PFNGLGETBUFFERPARAMETERIVARBPROC>(
        SDL_GL_GetProcAddress("glGetBufferParameterivARB"));
    ASSERT_NE(sizeOf, nullptr);
    auto stored = [sizeOf](cVertexBuffer& b, GLenum target) {
        GLint bytes = -1;
        ext::glBindBufferARB(target, b.name);
        sizeOf(target, GL_BUFFER_SIZE, &bytes);
        ext::glBindBufferARB(target, 0);
        return bytes;
    };
    EXPECT_EQ(stored(mesh->getBuffer(cMeshObj::POSITION_BUFFER), GL_ARRAY_BUFFER), 8 * 3 * 4);
    EXPECT_EQ(stored(mesh->getBuffer(cMeshObj::NORMAL_BUFFER), GL_ARRAY_BUFFER), 8 * 3 * 4);
    EXPECT_EQ(stored(mesh->getBuffer(cMeshObj::TEXCOORD_BUFFER), GL_ARRAY_BUFFER), 8 * 2 * 4);
    EXPECT_EQ(stored(mesh->getBuffer(cMeshObj::INDEX_BUFFER), GL_ELEMENT_ARRAY_BUFFER), 12 * 4);
    EXPECT_EQ(mesh->getBuffer(cMeshObj::TEXCOORD_BUFFER).components, 2);
    delete mesh;
}

TEST_F(MeshGL, UnknownBufferSelectorEndsTheProcess)
{
    cMeshObj* mesh = quads(1, 0);
    EXPECT_EXIT(mesh->getBuffer(4), testing::ExitedWithCode(255),
                "# ERROR in \\.\\.\\\\src\\\\mesh_files\\\\cMeshObj line 158: Unknown vbo\\. Exiting\\.\\.\\.");
    EXPECT_EXIT(mesh->getBuffer(-1), testing::ExitedWithCode(255), "Unknown vbo");
    delete mesh;
}

TEST_F(MeshGL, UntexturedMaterialsShowTheirColoursThroughTheMeshShader)
{
    // The scene shader multiplies by the 2-D texture on unit 0: a material
    // without a map reads white there, so red and blue stay red and blue
    // (they were black), and a textured material still shows its map.
    model("two.mtl", TWO_MTL);
    model("shaded_two.obj", TWO_MATERIAL_OBJ);  // names of its own: the mesh cache outlives a test
    model("painted.mtl", "newmtl painted\nKa 0 0 0\nKd 0.2 0.2 0.2\nillum 1\nmap_Kd four.png\n");
    model("shaded_quad.obj", QUAD_OBJ);
    quadrant_image("four.png", RED, GREEN, BLUE, WHITE);
    cShaderManager_CG* shaders = start_shaders();
    testing::internal::CaptureStderr();
    register_shader<cShdRGBAtex>("rgbatex_shader");
    testing::internal::GetCapturedStderr();
    iMesh* plain = cMeshManager::instance()->getMesh("shaded_two.obj", false);
    iMesh* painted = cMeshManager::instance()->getMesh("shaded_quad.obj", false);

    shaders->bind("rgbatex_shader");
    light(1.0f);
    clear();
    plain->draw();
    EXPECT_TRUE(near_rgba(cell(0, 1), RED, 3));
    EXPECT_TRUE(near_rgba(cell(3, 2), BLUE, 3));
    clear();
    painted->draw();
    EXPECT_TRUE(near_rgba(quadrant(1, 0), GREEN, 3));
    EXPECT_TRUE(near_rgba(quadrant(0, 1), BLUE, 3));
    shaders->unbind();
    ext::glActiveTextureARB(GL_TEXTURE0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "the draw turns unit 0 off again";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
