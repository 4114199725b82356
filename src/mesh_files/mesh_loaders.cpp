#include "mesh_files/mesh_loaders.h"

#include <iostream>

#include "mesh_files/bzobj_format.h"
#include "mesh_files/cMeshObj.h"
#include "mesh_files/obj/cObjLoader.h"
#include "util/fatal_exit.h"
#include "texture/cResourcePath.h"

namespace {
// The full path of name. A mesh that is nowhere ends the process here, with
// one line naming it and where it was looked for (or why it could not be
// read): going on with an empty path would only add a second error about a
// file with no name.
std::string resolve(const std::string& name, const char* loader)
{
    const cResourcePath* search = get_resource_path();
    std::string path = search->get_fullpath(name);
    if (!path.empty())
        return path;
    std::cerr << "# ERROR - couldn't find " << name << " from " << loader;
    const std::string why = search->why_not_found(name);
    if (!why.empty()) {
        std::cerr << ": " << why;
    } else if (!search->paths().empty()) {
        std::cerr << " (looked in";
        for (size_t i = 0; i < search->paths().size(); ++i)
            std::cerr << (i ? ", " : " ") << search->paths()[i];
        std::cerr << ")";
    }
    std::cerr << std::endl;
    end_process(-1);
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
