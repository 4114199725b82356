#pragma once
// What scenes draw: a mesh with its flag byte. draw() uses whatever
// transformation and shader are current; upload() moves the client-side
// data into GL buffers once, after loading.
#include "mesh_files/iMeshType.h"

class iMesh : public iMeshType {
public:
    virtual ~iMesh() = default;
    virtual void draw() = 0;
    virtual void upload(bool releaseClientArrays) = 0;
};
