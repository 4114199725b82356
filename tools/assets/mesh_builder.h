#pragma once
// Builds the show's procedural meshes vertex by vertex and writes them as
// compressed mesh files: positions, texture coordinates and one material;
// normals are computed from the triangles.
#include <cstdint>
#include <string>

#include "mesh_files/cMeshObj_data.h"

class MeshBuilder {
public:
    MeshBuilder();

    uint32_t vertex(float x, float y, float z, float s, float t);
    void triangle(uint32_t a, uint32_t b, uint32_t c);
    // a b c d counter-clockwise, seen from the side the face shows.
    void quad(uint32_t a, uint32_t b, uint32_t c, uint32_t d);

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

    // Writes the file; false with the reason in `error`.
    bool write(const std::string& path, std::string& error);

    cMeshData mesh;
};

// A grey material with a detail map (the map's sides must be powers of two).
cMaterial grey_material(const std::string& name, float grey, const std::string& map);

// Creates the directory and its parents; false after a message.
bool make_directories(const std::string& path);
