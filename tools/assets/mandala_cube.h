#pragma once
// The mandala cube's meshes and textures, baked into DATA/models/mandala_cube.
#include <string>

#include "mesh_files/cMeshObj_data.h"

// The wall panel, the eight relief layer pairs and the grey textures.
bool bake_mandala_cube(const std::string& dataDir);

// One relief layer's "in" (out = false) or "out" shape; k = 2..9.
bool build_relief_layer(int k, bool out, cMeshData& mesh);
// The wall panel every face is drawn with.
void build_cube_face(cMeshData& mesh);

// The two shapes of a morph pair must match vertex by vertex: same vertex
// count, texture coordinates and index list. False with the reason.
bool check_morph_pair(const cMeshData& in, const cMeshData& out, std::string& error);
