#include "mesh_files/cMaterial_GL.h"

#include <GL/glext.h>

#include "gl/gl_extensions.h"
#include "texture/cTextureManager.h"

namespace {
const GLfloat BLACK[4] = {0.f, 0.f, 0.f, 1.f};
const GLfloat WHITE[4] = {1.f, 1.f, 1.f, 1.f};
// The material colour a slot's texture replaces.
const GLenum SLOT_COLOUR[3] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR};

void load_slot(cTexture& slot, const std::string& file, GLenum wrap)
{
    cTexture t = get_texture_manager()->get_texture(file, true, wrap, 0);
    slot.target = t.target;
    slot.id = t.id;
    slot.width = t.width;
    slot.height = t.height;
    slot.name = t.name;  // the unit stays as it was
}
}  // namespace

GLenum cMaterial_GL::slot_unit(int slot)
{
    switch (slot) {
    case AMBIENT:
        return GL_TEXTURE2;
    case SPECULAR:
        return GL_TEXTURE1;
    default:
        return GL_TEXTURE0;
    }
}

cMaterial_GL::cMaterial_GL(const std::string& n) : cMaterial(n)
{
    for (float& e : emission)
        e = 0.f;
}

cMaterial_GL::cMaterial_GL(const cMaterial& values) : cMaterial(values)
{
    for (float& e : emission)
        e = 0.f;
}

void cMaterial_GL::setGLMaterial() const
{
    const GLenum face = GL_FRONT_AND_BACK;
    switch (illum) {
    case 0:
        glMaterialfv(face, GL_AMBIENT_AND_DIFFUSE, BLACK);
        glMaterialfv(face, GL_SPECULAR, BLACK);
        glMaterialfv(face, GL_EMISSION, Kd);
        break;
    case 1:
        glMaterialfv(face, GL_EMISSION, emission);
        glMaterialfv(face, GL_AMBIENT, Ka);
        glMaterialfv(face, GL_DIFFUSE, Kd);
        glMaterialfv(face, GL_SPECULAR, BLACK);
        break;
    case 2:
    case 4:
        glMaterialfv(face, GL_EMISSION, emission);
        glMaterialfv(face, GL_AMBIENT, Ka);
        glMaterialfv(face, GL_DIFFUSE, Kd);
        glMaterialfv(face, GL_SPECULAR, Ks);
        glMaterialf(face, GL_SHININESS, Ns);
        break;
    default:
        break;
    }
}

cMaterial_GL& cMaterial_GL::copyFrom(const cMaterial_GL& other)
{
    copyValues(other);  // the emission colour is one of the values
    for (int s = 0; s < SLOT_COUNT; ++s) {
        textures[s].target = other.textures[s].target;
        textures[s].id = other.textures[s].id;
        textures[s].width = other.textures[s].width;
        textures[s].height = other.textures[s].height;
        textures[s].name = other.textures[s].name;
    }
    return *this;
}

void cMaterial_GL::apply()
{
    setGLMaterial();
    for (int s = AMBIENT; s <= SPECULAR; ++s) {
        cTexture& t = textures[s];
        if (!t.loaded())
            continue;
        glMaterialfv(GL_FRONT_AND_BACK, SLOT_COLOUR[s], WHITE);
        t.unit = GLint(slot_unit(s));
        ext::glActiveTextureARB(GLenum(t.unit));
        glEnable(t.target);
        glBindTexture(t.target, t.id);
        ext::glActiveTextureARB(GL_TEXTURE0);
    }
    // The mesh shaders multiply by the 2-D texture on unit 0 whether or not
    // the material has one: without a map they read white, so the material's
    // own colours show instead of black.
    if (!textures[DIFFUSE].loaded()) {
        const cTexture white = get_texture_manager()->white_texture();
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, white.id);
    }
    ext::glActiveTextureARB(GL_TEXTURE0);
}

void cMaterial_GL::loadTextures()
{
    if (!map_Ka.empty())
        load_slot(textures[AMBIENT], map_Ka, GL_CLAMP);
    if (!map_Kd.empty())
        load_slot(textures[DIFFUSE], map_Kd, GL_CLAMP);
    else if (!map_d.empty())
        load_slot(textures[DIFFUSE], map_d, GL_REPEAT);
    if (!map_Ks.empty())
        load_slot(textures[SPECULAR], map_Ks, GL_CLAMP);
    // The bump map is named but never loaded.
    emission[3] = Ka[3] = Kd[3] = Ks[3] = d;
}
