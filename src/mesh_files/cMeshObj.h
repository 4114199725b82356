#pragma once
// The vertex-buffer mesh: an indexed triangle list in three separate vertex
// arrays (positions, normals, texture coordinates) plus 32-bit indices,
// uploaded once into static GL buffers and drawn with one glDrawElements per
// material group, or one call in all when the mesh is not drawn by
// material.
//
// The loaders fill the client-side arrays and the plain materials (the mesh
// is both their iMeshType and their cMeshObj_data); build_gl_materials turns
// those into the GL materials that draw() applies. Construction needs a
// current GL context: the four buffer names are generated right away.
#include <vector>

#include "mesh_files/cMaterial_GL.h"
#include "mesh_files/cMeshObj_data.h"
#include "mesh_files/cVertexBuffer.h"
#include "mesh_files/iMesh.h"

class cMeshObj : public iMesh, public cMeshObj_data {
public:
    enum eBuffer { POSITION_BUFFER = 0, NORMAL_BUFFER = 1, TEXCOORD_BUFFER = 2, INDEX_BUFFER = 3 };

    cMeshObj();
    ~cMeshObj() override;
    cMeshObj(const cMeshObj&) = delete;
    cMeshObj& operator=(const cMeshObj&) = delete;

    void draw() override;
    // Fills the four buffers from the client arrays. With
    // releaseClientArrays the three vertex arrays are left holding one 0.0
    // each; indices, groups and materials stay, draw() needs them.
    void upload(bool releaseClientArrays) override;

    // The record for POSITION_BUFFER … INDEX_BUFFER; any other selector is
    // an internal error that ends the process with exit code -1.
    cVertexBuffer& getBuffer(int selector);

    // Replaces the GL materials by one made from each plain material, in
    // order, and loads their textures.
    void build_gl_materials();

    std::vector<cMaterial_GL> gl_materials;  // indexed by a group's material
    // Vertices in the buffers since the last upload (the client arrays may
    // have been released).
    size_t uploaded_vertices = 0;

    // What the draw does after its last group: units 2, 1, 0 lose their 2-D
    // texture, unit 0 is left active.
    static void reset_texture_units();

private:
    cVertexBuffer m_positions, m_normals, m_texcoords, m_indices;
};
