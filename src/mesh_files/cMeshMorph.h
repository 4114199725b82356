#pragma once
// A mesh drawn between two shapes: the base mesh is drawn while the target
// mesh's positions and normals feed the vertex program as texture
// coordinates on units 3 and 4, and "morph_shader" blends each vertex by one
// factor. The factor lives in the shader, so all morph meshes share it: set
// it once with setMorph before drawing them.
//
// Both meshes come from the mesh cache and belong to it; they must have the
// same vertex count and order (matched by index only).
#include <string>

#include "mesh_files/iMesh.h"

class cMeshObj;

class cMeshMorph : public iMesh {
public:
    cMeshMorph() { m_type = 0; }
    ~cMeshMorph() override = default;  // the meshes belong to the cache

    // Both through the mesh cache, with their materials; a name that gives
    // no mesh ends the process after a message naming it. A pair whose
    // vertex counts differ is refused with a warning naming both files: the
    // target stays null and draw() shows the base unmorphed.
    void loadMorph(const std::string& baseName, const std::string& targetName);

    // Binds "morph_shader" for the draw and gives back the shader bound
    // before.
    void draw() override;
    // The morphed draw alone, "morph_shader" already bound by the caller (one
    // bind for many morph meshes). A pair that is not morphed() draws nothing
    // here: it takes the caller's ordinary shader, through draw().
    void draw_morph_bound();
    bool morphed() const { return base && target; }
    void upload(bool) override {}

    static void setMorph(float factor);

    iMesh* base = nullptr;        // drawn
    cMeshObj* target = nullptr;   // its position and normal buffers are read
};
