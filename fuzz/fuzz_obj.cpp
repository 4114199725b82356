// libFuzzer harness: any bytes as an OBJ file, taken through the whole load
// (parse, triangulate, normals, conversion). mtllib lines get one small
// material library. The loader must report, never crash or read outside
// its arrays, and the mesh it returns must be consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "mesh_files/obj/cObjLoader.h"

namespace {
const char MTL[] = "newmtl a\nKd 1 0 0\nnewmtl b\nKd 0 1 0\nmap_Kd b.png\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::ostringstream log, warn;
    cObjLoader loader(log, warn);
    loader.set_file_reader([](const std::string& path, std::vector<char>& bytes) {
        if (path != "dir/m.mtl")
            return false;
        bytes.assign(MTL, MTL + sizeof MTL - 1);
        return true;
    });
    cMeshData mesh;
    std::string error;
    if (!loader.load_bytes(reinterpret_cast<const char*>(data), size, "dir/", mesh, mesh, error))
        return 0;
    // What the GL upload and draw rely on.
    const size_t V = mesh.vertex_count();
    if (mesh.positions.size() != 3 * V || mesh.normals.size() != 3 * V ||
        (mesh.has(MT_TEXCOORDS) && mesh.texcoords.size() != 2 * V) || mesh.indices.size() % 3)
        std::abort();
    for (uint32_t i : mesh.indices)
        if (i >= V)
            std::abort();
    if (mesh.groups.empty() || mesh.groups.back().first != mesh.indices.size())
        std::abort();
    if (mesh.has(MT_MATERIALS))
        for (size_t g = 0; g + 1 < mesh.groups.size(); ++g)
            if (mesh.groups[g].material >= mesh.materials.size() || mesh.groups[g].first > mesh.groups[g + 1].first)
                std::abort();
    return 0;
}
