// GL materials: the fixed-function state each illumination model sets,
// texture loading and binding, and copying.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

#include "gl/gl_extensions.h"
#include "mesh/mesh_gl_fixture.h"
#include "mesh_files/cMaterial_GL.h"
#include "texture/cTextureManager.h"

namespace {
using Colour = std::array<float, 4>;
const Colour MARK = {0.25f, 0.5f, 0.75f, 0.5f};
const Colour BLACK = {0, 0, 0, 1};
const Colour WHITE = {1, 1, 1, 1};

Colour material(GLenum what)
{
    Colour c{};
    glGetMaterialfv(GL_FRONT, what, c.data());
    return c;
}

void mark_all()
{
    for (GLenum what : {GL_EMISSION, GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR})
        glMaterialfv(GL_FRONT_AND_BACK, what, MARK.data());
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 7.f);
}

cMaterial_GL coloured(int illum)
{
    cMaterial_GL m("m");
    const Colour ka = {0.1f, 0.2f, 0.3f, 1}, kd = {0.4f, 0.5f, 0.6f, 1}, ks = {0.7f, 0.8f, 0.9f, 1};
    std::copy(ka.begin(), ka.end(), m.Ka);
    std::copy(kd.begin(), kd.end(), m.Kd);
    std::copy(ks.begin(), ks.end(), m.Ks);
    m.emission[0] = 0.05f;
    m.emission[3] = 1.f;
    m.Ns = 20.f;
    m.illum = illum;
    return m;
}

GLint wrap_of(const cTexture& t)
{
    GLint wrap = 0;
    glBindTexture(t.target, t.id);
    glGetTexParameteriv(t.target, GL_TEXTURE_WRAP_S, &wrap);
    glBindTexture(t.target, 0);
    return wrap;
}
}  // namespace

TEST_F(MeshGL, IlluminationModelDecidesTheMaterialState)
{
    const Colour ka = {0.1f, 0.2f, 0.3f, 1}, kd = {0.4f, 0.5f, 0.6f, 1}, ks = {0.7f, 0.8f, 0.9f, 1};
    const Colour em = {0.05f, 0, 0, 1};

    mark_all();
    coloured(0).setGLMaterial();  // the diffuse colour glows, nothing is lit
    EXPECT_EQ(material(GL_EMISSION), kd);
    EXPECT_EQ(material(GL_AMBIENT), BLACK);
    EXPECT_EQ(material(GL_DIFFUSE), BLACK);
    EXPECT_EQ(material(GL_SPECULAR), BLACK);

    mark_all();
    coloured(1).setGLMaterial();
    EXPECT_EQ(material(GL_EMISSION), em);
    EXPECT_EQ(material(GL_AMBIENT), ka);
    EXPECT_EQ(material(GL_DIFFUSE), kd);
    EXPECT_EQ(material(GL_SPECULAR), BLACK);

    for (int illum : {2, 4}) {
        mark_all();
        coloured(illum).setGLMaterial();
        EXPECT_EQ(material(GL_EMISSION), em);
        EXPECT_EQ(material(GL_AMBIENT), ka);
        EXPECT_EQ(material(GL_DIFFUSE), kd);
        EXPECT_EQ(material(GL_SPECULAR), ks);
        GLfloat shininess = 0;
        glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
        EXPECT_EQ(shininess, 20.f);
    }

    for (int illum : {3, 5, -1}) {
        mark_all();
        cMaterial_GL m = coloured(illum);
        m.apply();  // no textures either: nothing changes
        EXPECT_EQ(material(GL_EMISSION), MARK) << illum;
        EXPECT_EQ(material(GL_DIFFUSE), MARK) << illum;
        EXPECT_EQ(material(GL_SPECULAR), MARK) << illum;
    }
}

TEST_F(MeshGL, TexturesLoadByMapWithTheirWrapAndAlphaFollowsDissolve)
{
    plain_image("kd.png", {255, 0, 0, 255});
    plain_image("alpha.png", {0, 255, 0, 255});
    plain_image("ka.png", {0, 0, 255, 255});
    plain_image("ks.png", {9, 9, 9, 255});

    // map_Kd wins over map_d, and is clamped.
    cMaterial_GL both("both");
    both.map_Kd = "kd.png";
    both.map_d = "alpha.png";
    both.map_Ka = "ka.png";
    both.map_Ks = "ks.png";
    both.bump = "bump_is_never_loaded.png";
    both.d = 0.5f;
    both.loadTextures();
    EXPECT_EQ(both.textures[cMaterial_GL::DIFFUSE].name, "kd.png");
    EXPECT_EQ(wrap_of(both.textures[cMaterial_GL::DIFFUSE]), GL_CLAMP);
    EXPECT_EQ(both.textures[cMaterial_GL::AMBIENT].name, "ka.png");
    EXPECT_EQ(wrap_of(both.textures[cMaterial_GL::AMBIENT]), GL_CLAMP);
    EXPECT_EQ(both.textures[cMaterial_GL::SPECULAR].name, "ks.png");
    EXPECT_FALSE(both.textures[cMaterial_GL::FOURTH].loaded());
    EXPECT_EQ(get_texture_manager()->size(), 3u) << "alpha.png and the bump map are not loaded";
    for (const float* c : {both.emission, both.Ka, both.Kd, both.Ks})
        EXPECT_EQ(c[3], 0.5f);
    EXPECT_EQ(both.textures[cMaterial_GL::DIFFUSE].unit, -1) << "the unit is set when bound";

    // Only map_d: it is the diffuse texture, repeated.
    cMaterial_GL alphaOnly("alpha");
    alphaOnly.map_d = "alpha.png";
    alphaOnly.loadTextures();
    EXPECT_EQ(alphaOnly.textures[cMaterial_GL::DIFFUSE].name, "alpha.png");
    EXPECT_EQ(wrap_of(alphaOnly.textures[cMaterial_GL::DIFFUSE]), GL_REPEAT);

    // A bare material: black, then opaque.
    cMaterial_GL bare("bare");
    EXPECT_EQ(bare.Kd[3], 0.f);
    bare.loadTextures();
    for (const float* c : {bare.emission, bare.Ka, bare.Kd, bare.Ks})
        EXPECT_EQ(Colour({c[0], c[1], c[2], c[3]}), BLACK);
    for (const cTexture& t : bare.textures)
        EXPECT_FALSE(t.loaded());
}

TEST_F(MeshGL, ApplyBindsEachTextureOnItsUnitWithAWhiteColour)
{
    plain_image("kd.png", {255, 0, 0, 255});
    plain_image("ka.png", {0, 0, 255, 255});
    cMaterial_GL m = coloured(1);
    m.map_Kd = "kd.png";
    m.map_Ka = "ka.png";
    m.loadTextures();
    mark_all();
    m.apply();

    EXPECT_EQ(gl_int(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(material(GL_DIFFUSE), WHITE);
    EXPECT_EQ(material(GL_AMBIENT), WHITE);
    EXPECT_EQ(material(GL_SPECULAR), BLACK) << "no specular texture";
    EXPECT_EQ(m.textures[cMaterial_GL::DIFFUSE].unit, GL_TEXTURE0);
    EXPECT_EQ(m.textures[cMaterial_GL::AMBIENT].unit, GL_TEXTURE2);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(GLuint(gl_int(GL_TEXTURE_BINDING_2D)), m.textures[cMaterial_GL::DIFFUSE].id);
    ext::glActiveTextureARB(GL_TEXTURE2);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(GLuint(gl_int(GL_TEXTURE_BINDING_2D)), m.textures[cMaterial_GL::AMBIENT].id);
    ext::glActiveTextureARB(GL_TEXTURE1);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    ext::glActiveTextureARB(GL_TEXTURE0);
}

TEST_F(MeshGL, CopyFromTakesValuesAndTexturesButNotNameOrUnits)
{
    plain_image("kd.png", {255, 0, 0, 255});
    cMaterial_GL from = coloured(2);
    from.map_Kd = "kd.png";
    from.loadTextures();
    from.apply();  // records unit 0 on the diffuse slot
    from.emission[1] = 0.3f;

    cMaterial_GL to("target");
    to.textures[cMaterial_GL::DIFFUSE].unit = 5;
    to.copyFrom(from);
    EXPECT_EQ(to.name, "target");
    EXPECT_EQ(to.illum, 2);
    EXPECT_EQ(to.emission[1], 0.3f);
    EXPECT_EQ(to.Ks[2], from.Ks[2]);
    EXPECT_EQ(to.map_Kd, "kd.png");
    const cTexture& t = to.textures[cMaterial_GL::DIFFUSE];
    EXPECT_EQ(t.id, from.textures[cMaterial_GL::DIFFUSE].id);
    EXPECT_EQ(t.target, GLenum(GL_TEXTURE_2D));
    EXPECT_EQ(t.width, 16u);
    EXPECT_EQ(t.name, "kd.png");
    EXPECT_EQ(t.unit, 5);
}
