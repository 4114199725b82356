#include "mesh_files/cMeshManager.h"

#include <cstdlib>
#include <iostream>

#include "mesh_files/cMeshObj.h"
#include "mesh_files/mesh_loaders.h"
#include "mesh_files/mesh_names.h"
#include "util/fatal_exit.h"

cMeshManager* cMeshManager::instance()
{
    static cMeshManager* manager = new cMeshManager();  // never destroyed
    return manager;
}

iMesh* cMeshManager::getMesh(const std::string& name, bool ignoreMaterials)
{
    const std::string key = mesh_key(name);
    auto found = m_meshes.find(key);
    if (found != m_meshes.end())
        return found->second;

    cMeshObj* mesh = nullptr;
    switch (mesh_file_kind(name)) {
    case eMeshFileKind::obj:
        mesh = ObjLoader::create(name);
        break;
    case eMeshFileKind::bzobj:
        mesh = BzObjLoader::create(name);
        break;
    case eMeshFileKind::unknown:
        std::cerr << "## ERROR in cMeshManager::getMesh: \"" << name << "\" has the extension \""
                  << mesh_extension(name) << "\", which is neither obj nor bzobj. No mesh loaded." << std::endl;
        return nullptr;
    }
    if (ignoreMaterials) {
        // The groups stay but are no longer used.
        mesh->clear(MT_MATERIALS);
        mesh->materials.clear();
        mesh->gl_materials.clear();
    }
    mesh->upload(true);
    m_meshes[key] = mesh;
    return mesh;
}

iMesh* cMeshManager::requireMesh(const std::string& name, bool ignoreMaterials, const std::string& caller)
{
    iMesh* mesh = getMesh(name, ignoreMaterials);
    if (!mesh) {
        std::cerr << "## ERROR in " << caller << ": no mesh for \"" << name << "\". Exiting..." << std::endl;
        end_process(-1);
    }
    return mesh;
}
