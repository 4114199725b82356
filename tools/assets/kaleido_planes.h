#pragma once
// The kaleidoscope planes: flat meshes in the x-z plane covering the unit
// square (x and z in 0..1, facing -y), which the mandala cube's kaleidoscope
// pass turns by -90 degrees about x into the 2-D overlay's unit square.
// Their texture coordinates fold the picture: each point of the square
// reads the source at a rigid image (rotation or mirror) of a point in a
// base region, so the folded picture has the plane's symmetry exactly,
// except the cylinder mirror, whose polar wrap is sampled per vertex.
#include <string>

#include "mesh_files/cMeshObj_data.h"

// Plane k = 1..7, in the order the scene numbers them
// (show_assets::KALEIDO_PLANES).
bool build_kaleido_plane(int k, cMeshData& mesh);
// All seven into DATA/models/kaleido2d.
bool bake_kaleido_planes(const std::string& dataDir);
