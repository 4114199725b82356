#pragma once
// Baking refuses material maps the mesh shaders cannot sample: they read a
// 2-D texture with 0..1 coordinates, and the texture manager turns an image
// whose sides are not powers of two into a rectangle texture addressed in
// texels.
#include <string>
#include <vector>

#include "mesh_files/cMeshObj_data.h"

// Looks up every map the mesh's materials name (map_Ka, map_Kd, map_Ks,
// map_d) in `dirs`, first hit wins. False, with the map, its file and its
// size in `error`, when a map found there has a side that is not a power of
// two or cannot be read as an image. A map found in none of the directories
// is left to the show's search path.
bool check_material_maps(const cMeshObj_data& mesh, const std::vector<std::string>& dirs, std::string& error);
