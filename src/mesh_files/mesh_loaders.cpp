#include "mesh_files/mesh_loaders.h"

#include <iostream>

#include "mesh_files/bzobj_format.h"
#include "mesh_files/cMeshObj.h"
#include "mesh_files/obj/cObjLoader.h"
#include "texture/cResourcePath.h"

namespace {
// The full path of name, or "" after a message naming the loader. The
// loaders go on with the empty path and stop there with their own message.
std::string resolve(const std::string& name, const char* loader)
{
    std::string path = get_resource_path()->get_fullpath(name);
    if (path.empty())
        std::cerr << "# ERROR - couldn't find " << name << " from " << loader << std::endl;
    return path;
}
}  // namespace

cMeshObj* ObjLoader::create(const std::string& name)
{
    cMeshObj* mesh = new cMeshObj();
    const std::string path = resolve(name, "ObjLoader::create");
    {
        cObjLoader loader;
        loader.load_mesh(path, *mesh, *mesh);
    }
    mesh->build_gl_materials();
    return mesh;
}

cMeshObj* BzObjLoader::create(const std::string& name)
{
    cMeshObj* mesh = new cMeshObj();
    const std::string path = resolve(name, "BzObjLoader::create");
    bobj_load_compressed(*mesh, *mesh, path);
    mesh->build_gl_materials();
    return mesh;
}
