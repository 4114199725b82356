#pragma once
// A material as GL draws it: the plain material values plus up to three
// loaded textures (ambient, diffuse, specular), and the operation that puts
// them into fixed-function GL state before a group of triangles is drawn.
//
// A fourth texture slot is carried along (copied, released with the
// material) but nothing fills or binds it.
#include <GL/gl.h>

#include "mesh_files/cMaterial.h"
#include "texture/cTexture.h"

class cMaterial_GL : public cMaterial {
public:
    enum eSlot { AMBIENT = 0, DIFFUSE = 1, SPECULAR = 2, FOURTH = 3, SLOT_COUNT = 4 };
    // The texture unit each slot binds on.
    static GLenum slot_unit(int slot);

    cTexture textures[SLOT_COUNT];  // id -1: the slot is empty

    explicit cMaterial_GL(const std::string& name = std::string());
    explicit cMaterial_GL(const cMaterial& values);

    // Loads the colours into GL material state (front and back) by the
    // illumination model: 0 shows Kd as emission only, 1 ambient and
    // diffuse, 2 and 4 also specular and shininess; any other model sets
    // nothing.
    virtual void setGLMaterial() const;
    // Everything but the name and the texture units, textures included.
    virtual cMaterial_GL& copyFrom(const cMaterial_GL& other);
    // setGLMaterial, then each loaded texture on its unit with its colour
    // set to white, so the texture is not darkened; without a diffuse map a
    // 1x1 white texture goes on unit 0. Texture unit 0 is left active. The
    // mesh draw disables the textures after its last group.
    virtual void apply();

    // Loads map_Ka, map_Kd (or map_d when map_Kd is empty) and map_Ks
    // through the texture manager, then copies d into the alpha of the four
    // colours.
    void loadTextures();
};
