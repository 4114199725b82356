#pragma once
// How the mesh cache names meshes and picks their loader. Meshes are cached
// by the last component of their file name, so "a/b/x.obj" and "c\\x.obj"
// are one mesh; the loader follows the text after the last dot, compared
// case-sensitively.
#include <string>

enum class eMeshFileKind { unknown, obj, bzobj };

// The last component after splitting at every '\' and '/'; a trailing
// separator gives an empty key.
std::string mesh_key(const std::string& name);

// The last component after splitting at '.'; a name without a dot is its
// own extension.
std::string mesh_extension(const std::string& name);

// "obj" or ".obj" → obj, "bzobj" or ".bzobj" → bzobj, anything else unknown.
eMeshFileKind mesh_file_kind(const std::string& name);
