#pragma once
// The two ways a mesh file becomes a cMeshObj: the name is resolved through
// the resource search path, the file is read into the mesh's client arrays,
// and its materials become GL materials with their textures loaded. The
// mesh is not uploaded; the mesh cache does that.
//
// Both need a current GL context. A file that cannot be found or read ends
// the process (exit code -1) after a message naming it, as does a
// compressed file that does not add up (a zlib failure: exit code 1).
#include <string>

class cMeshObj;

namespace ObjLoader {
cMeshObj* create(const std::string& name);
}

namespace BzObjLoader {
cMeshObj* create(const std::string& name);
}
