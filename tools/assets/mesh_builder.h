#pragma once
// Builds the show's procedural meshes vertex by vertex and writes them as
// compressed mesh files. Two ways to fill one, not to be mixed in a mesh:
// - positions and texture coordinates, normals computed afterwards from the
//   triangles (smooth_normals, flat_normal), at most one material
//   (set_material), written to a path (the mandala cube, kaleidoscope planes);
// - vertices with their normals, triangles grouped by material as they come
//   (use_material), written under DATA/models/ with the triangles of each
//   material gathered (the spike ball, star and sky sphere).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/bake_files.h"
#include "assets/bake_geometry.h"
#include "mesh_files/cMeshObj_data.h"

class MeshBuilder {
public:
    MeshBuilder();

    uint32_t vertex(float x, float y, float z, float s, float t);
    // A vertex with its normal (normalized here).
    uint32_t vertex(V3 p, V3 n, double s = 0, double t = 0);
    void triangle(uint32_t a, uint32_t b, uint32_t c);
    // a b c d counter-clockwise, seen from the side the face shows.
    void quad(uint32_t a, uint32_t b, uint32_t c, uint32_t d);
    // A flat-shaded triangle (own vertices, face normal).
    void flat_triangle(V3 a, V3 b, V3 c, double s = 0, double t = 0);
    size_t triangle_count() const { return mesh.indices.size() / 3; }

    // Smooth normals: each vertex gets the area-weighted sum of the normals
    // of the triangles around it, summed over every vertex at the same
    // position, so that seams in the texture coordinates do not show in the
    // light.
    void smooth_normals();
    // One normal for every vertex (flat meshes).
    void flat_normal(float x, float y, float z);

    // Without a material the mesh is drawn in one call with whatever state
    // is set (the kaleidoscope planes); with one, per material.
    void set_material(const cMaterial& m);
    // Later triangles draw with material m (an index into materials()).
    void use_material(unsigned m);
    std::vector<cMaterial>& materials() { return mesh.materials; }

    // Writes the file; false with the reason in `error`.
    bool write(const std::string& path, std::string& error);
    // Writes DATA/models/name, with or without the texture coordinates;
    // false after a message on failure.
    bool write(const std::string& dataDir, const std::string& name, bool withTexcoords);

    cMeshData mesh;

private:
    unsigned m_material = 0;
};

// A grey material with a detail map (the map's sides must be powers of two).
cMaterial grey_material(const std::string& name, float grey, const std::string& map);
// A grey material: ambient a, diffuse d, specular s with shininess ns.
cMaterial grey_material(const std::string& name, float a, float d, float s, float ns);
