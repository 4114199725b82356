#pragma once
// The client-side arrays of a mesh: what the loaders fill from bytes in
// memory and what the GL upload later moves into buffer objects.
#include <cstdint>
#include <vector>

#include "mesh_files/cMaterial.h"
#include "mesh_files/iMeshType.h"

// One run of indices drawn with one material: from `first` up to the next
// group's first index. The last entry of a list is a sentinel whose first
// index is the index count; its material is not used.
struct MaterialGroup {
    uint32_t first;
    uint32_t material;
    bool operator==(const MaterialGroup& o) const { return first == o.first && material == o.material; }
};

const uint32_t NO_MATERIAL = 0xFFFFFFFFu;  // the sentinel's material

class cMeshObj_data {
public:
    std::vector<float> positions;     // x y z per vertex
    std::vector<float> normals;       // x y z per vertex, with MT_NORMALS
    std::vector<float> texcoords;     // s t per vertex, with MT_TEXCOORDS
    std::vector<uint32_t> indices;    // three per triangle; one index addresses all three arrays
    std::vector<MaterialGroup> groups;
    std::vector<cMaterial> materials;  // indexed by a group's material

    size_t vertex_count() const { return positions.size() / 3; }
    size_t triangle_count() const { return indices.size() / 3; }
    // Material groups without the sentinel.
    size_t group_count() const { return groups.empty() ? 0 : groups.size() - 1; }

    void clear_all()
    {
        positions.clear();
        normals.clear();
        texcoords.clear();
        indices.clear();
        groups.clear();
        materials.clear();
    }
};

// A mesh as the loaders deliver it without GL: the flag byte and the arrays.
class cMeshData : public iMeshType, public cMeshObj_data {};
