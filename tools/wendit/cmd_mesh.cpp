// wendit mesh: looks at a mesh file the way the show loads it, and bakes OBJ
// files into the compressed format the show ships.
//   wendit mesh info FILE          flags, counts, groups, materials, bounds
//   wendit mesh convert IN OUT     OBJ in, compressed mesh out
// Neither needs a display: only the parsing half of the mesh loaders runs.
#include <cfloat>
#include <cstdio>
#include <iostream>
#include <memory>

#include "commands.h"
#include "material_maps.h"
#include "mesh_files/bzobj_format.h"
#include "mesh_files/cMeshObj_data.h"
#include "mesh_files/mesh_names.h"
#include "mesh_files/obj/cObjLoader.h"

namespace {

void usage()
{
    std::cerr << "usage: wendit mesh info FILE.obj|FILE.bzobj\n"
                 "       wendit mesh convert IN.obj OUT.bzobj"
              << std::endl;
}

// The OBJ loader takes mtllib names relative to the file's directory; a bare
// file name is in the current one.
std::string with_directory(const std::string& path)
{
    return path.find('/') == std::string::npos ? "./" + path : path;
}

// Names come from files: quote them and keep them on one printable line.
std::string quoted(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += (c < 0x20 || c == 0x7F) ? '?' : char(c);
    }
    return out + "\"";
}

void print_floats(const float* f, int n)
{
    for (int i = 0; i < n; ++i)
        std::printf(" %g", double(f[i]));
}

void print_info(const cMeshData& mesh, const cObjLoader* obj)
{
    std::printf("flags: 0x%02x\n", unsigned(mesh.m_type));
    std::printf("vertices: %zu\n", mesh.vertex_count());
    std::printf("triangles: %zu\n", mesh.triangle_count());
    // Groups matter only to a mesh drawn per material; others draw in one call.
    const size_t groups = mesh.has(MT_MATERIALS) ? mesh.group_count() : 0;
    std::printf("groups: %zu\n", groups);
    std::printf("materials: %zu\n", mesh.materials.size());
    if (obj) {
        std::printf("obj_positions: %zu\n", obj->position_lines());
        std::printf("obj_texcoords: %zu\n", obj->texcoord_lines());
        std::printf("obj_normals: %zu\n", obj->normal_lines());
        std::printf("obj_faces: %zu\n", obj->face_lines());
    }
    for (size_t g = 0; g < groups; ++g)
        std::printf("group: %u %u\n", mesh.groups[g].first, mesh.groups[g].material);
    for (const cMaterial& m : mesh.materials) {
        std::printf("material: %s Ka", quoted(m.name).c_str());
        print_floats(m.Ka, 4);
        std::printf(" Kd");
        print_floats(m.Kd, 4);
        std::printf(" Ks");
        print_floats(m.Ks, 4);
        std::printf(" Ns %g illum %d d %g Ni %g map_Ka %s map_Kd %s map_Ks %s bump %s map_d %s\n", double(m.Ns),
                    m.illum, double(m.d), double(m.Ni), quoted(m.map_Ka).c_str(), quoted(m.map_Kd).c_str(),
                    quoted(m.map_Ks).c_str(), quoted(m.bump).c_str(), quoted(m.map_d).c_str());
    }
    if (mesh.vertex_count() == 0) {
        std::printf("bbox: empty\n");
        return;
    }
    float lo[3] = {FLT_MAX, FLT_MAX, FLT_MAX}, hi[3] = {-FLT_MAX, -FLT_MAX, -FLT_MAX};
    for (size_t v = 0; v < mesh.vertex_count(); ++v)
        for (int k = 0; k < 3; ++k) {
            float x = mesh.positions[3 * v + k];
            lo[k] = x < lo[k] ? x : lo[k];
            hi[k] = x > hi[k] ? x : hi[k];
        }
    std::printf("bbox:");
    print_floats(lo, 3);
    print_floats(hi, 3);
    std::printf("\n");
}

int mesh_info(const std::string& path)
{
    cMeshData mesh;
    switch (mesh_file_kind(path)) {
    case eMeshFileKind::obj: {
        // Progress lines go with the warnings, so that standard output holds
        // only the report.
        cObjLoader loader(std::cerr, std::cerr);
        loader.load_mesh(with_directory(path), mesh, mesh);
        print_info(mesh, &loader);
        return 0;
    }
    case eMeshFileKind::bzobj:
        bobj_load_compressed(mesh, mesh, path);
        print_info(mesh, nullptr);
        return 0;
    case eMeshFileKind::unknown: break;
    }
    std::cerr << "wendit mesh: " << path << ": not a mesh file name (.obj or .bzobj)" << std::endl;
    return 2;
}

int mesh_convert(const std::string& in, const std::string& out)
{
    if (mesh_file_kind(in) != eMeshFileKind::obj) {
        std::cerr << "wendit mesh convert: " << in << ": the input must be an .obj file" << std::endl;
        return 2;
    }
    cMeshData mesh;
    cObjLoader loader(std::cerr, std::cerr);
    loader.load_mesh(with_directory(in), mesh, mesh);
    std::string error;
    const std::string dir = with_directory(in).substr(0, with_directory(in).rfind('/'));
    if (!check_material_maps(mesh, {dir}, error) || !bzobj_write_file(mesh, mesh, out, error)) {
        std::cerr << "## ERROR: wendit mesh convert: " << in << ": " << error << std::endl;
        return 1;
    }
    std::cerr << "# wrote " << out << ": " << mesh.vertex_count() << " vertices, " << mesh.triangle_count()
              << " triangles, " << mesh.materials.size() << " materials" << std::endl;
    return 0;
}

}  // namespace

int cmd_mesh(const Args& args)
{
    if (args.size() == 2 && args[0] == "info")
        return mesh_info(args[1]);
    if (args.size() == 3 && args[0] == "convert")
        return mesh_convert(args[1], args[2]);
    usage();
    return 2;
}
