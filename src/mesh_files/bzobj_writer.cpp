// Writing the compressed mesh file: the exact inverse of the reader, used to
// bake the show's meshes offline.
#include <zlib.h>

#include <cstdio>
#include <cstring>

#include "mesh_files/bzobj_format.h"

namespace {

void put_u32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void put_floats(std::vector<uint8_t>& out, const float* f, size_t n)
{
    size_t at = out.size();
    out.resize(at + 4 * n);
    if (n)
        std::memcpy(out.data() + at, f, 4 * n);
}

std::string str(uint64_t v) { return std::to_string(v); }

}  // namespace

bool bzobj_encode_payload(const iMeshType& type, const cMeshObj_data& mesh, std::vector<uint8_t>& out,
                          std::string& error)
{
    out.clear();
    const bool nor = type.has(MT_NORMALS), tex = type.has(MT_TEXCOORDS), mats = type.has(MT_MATERIALS);
    if (mesh.positions.size() % 3)
        return error = str(mesh.positions.size()) + " position values are not whole vertices", false;
    const size_t V = mesh.positions.size() / 3;
    if (nor && mesh.normals.size() != 3 * V)
        return error = str(mesh.normals.size()) + " normal values for " + str(V) + " vertices", false;
    if (tex && mesh.texcoords.size() != 2 * V)
        return error = str(mesh.texcoords.size()) + " texture-coordinate values for " + str(V) + " vertices", false;
    if (mesh.indices.size() % 3)
        return error = str(mesh.indices.size()) + " indices are not whole triangles", false;
    const size_t T = mesh.indices.size() / 3;
    if (V >= 0x80000000u || T >= 0x80000000u)
        return error = "the mesh is too large for the format", false;
    for (size_t i = 0; i < mesh.indices.size(); ++i)
        if (mesh.indices[i] >= V)
            return error = "index " + str(i) + " refers to vertex " + str(mesh.indices[i]) + ", the mesh has " +
                           str(V),
                   false;

    // Groups become marks at their first triangle. The reader gives group g
    // material g, so with per-material drawing the materials are written in
    // group order, followed by those no group uses.
    std::vector<uint32_t> marks(T, 0);
    std::vector<size_t> order;  // material list positions in the order written
    const size_t G = mesh.group_count();
    std::vector<bool> used(mesh.materials.size(), false);
    if (G > 0) {
        if (mesh.groups[0].first != 0)
            return error = "the first material group starts at index " + str(mesh.groups[0].first), false;
        if (mesh.groups[G].first != mesh.indices.size())
            return error = "the group list ends at index " + str(mesh.groups[G].first) + ", the mesh has " +
                           str(mesh.indices.size()),
                   false;
        for (size_t g = 0; g < G; ++g) {
            const MaterialGroup& grp = mesh.groups[g];
            if (grp.first % 3 || grp.first > mesh.groups[g + 1].first)
                return error = "material group " + str(g) + " starts at index " + str(grp.first) +
                               ", not at a triangle in order",
                       false;
            if (grp.first == mesh.groups[g + 1].first)
                continue;  // an empty group draws nothing
            if (mats) {
                if (grp.material >= mesh.materials.size())
                    return error = "material group " + str(g) + " names material " + str(grp.material) +
                                   ", the mesh has " + str(mesh.materials.size()),
                           false;
                order.push_back(grp.material);
                used[grp.material] = true;
            }
            if (grp.first > 0)
                marks[grp.first / 3] = 1;
        }
    } else if (mats && !mesh.indices.empty()) {
        return error = "the mesh is drawn per material but has no material groups", false;
    }
    // The reader always starts a first group, on material 0.
    if (mats && mesh.materials.empty())
        return error = "the mesh is drawn per material but has no materials", false;
    for (size_t m = 0; m < mesh.materials.size(); ++m)
        if (!used[m])
            order.push_back(m);

    out.push_back(type.m_type);
    put_u32(out, uint32_t(V));
    put_u32(out, uint32_t(T));
    put_u32(out, uint32_t(order.size()));
    put_floats(out, mesh.positions.data(), 3 * V);
    if (nor)
        put_floats(out, mesh.normals.data(), 3 * V);
    if (tex)
        put_floats(out, mesh.texcoords.data(), 2 * V);
    for (int k = 0; k < 3; ++k) {
        uint32_t prev = 0;
        for (size_t t = 0; t < T; ++t) {
            uint32_t v = mesh.indices[3 * t + k];
            put_u32(out, v - prev);  // modulo 2^32, as the reader adds
            prev = v;
        }
    }
    for (uint32_t m : marks)
        put_u32(out, m);

    for (size_t m : order) {
        const cMaterial& mat = mesh.materials[m];
        const std::string* s[6] = {&mat.name, &mat.map_Ka, &mat.map_Kd, &mat.map_Ks, &mat.bump, &mat.map_d};
        for (const std::string* n : s) {
            if (n->size() > BZOBJ_MAX_NAME)
                return error = "material " + str(m) + ": name \"" + *n + "\" is longer than " +
                               str(BZOBJ_MAX_NAME) + " bytes",
                       false;
            if (std::memchr(n->data(), 0, n->size()))
                return error = "material " + str(m) + ": a name holds a zero byte", false;
            out.push_back(uint8_t(n->size()));
        }
        for (const std::string* n : s)
            out.insert(out.end(), n->begin(), n->end());
        put_floats(out, mat.Ka, 4);
        put_floats(out, mat.Kd, 4);
        put_floats(out, mat.Ks, 4);
        put_floats(out, &mat.Ns, 1);
        put_u32(out, uint32_t(mat.illum));
        put_floats(out, &mat.d, 1);
        put_floats(out, &mat.Ni, 1);
    }
    return true;
}

bool bzobj_encode(const iMeshType& type, const cMeshObj_data& mesh, std::vector<uint8_t>& out, std::string& error)
{
    std::vector<uint8_t> payload;
    if (!bzobj_encode_payload(type, mesh, payload, error))
        return false;
    if (payload.size() > 0xFFFFFFFFu)
        return error = "the payload is over 4 GiB", false;
    uLongf z = compressBound(uLong(payload.size()));
    out.assign(BZOBJ_HEADER + z, 0);
    int rc = compress2(out.data() + BZOBJ_HEADER, &z, payload.data(), uLong(payload.size()), Z_BEST_COMPRESSION);
    if (rc != Z_OK)
        return error = "zlib caused an error: " + std::to_string(rc), false;
    out.resize(BZOBJ_HEADER + z);
    uint32_t header[2] = {uint32_t(payload.size()), uint32_t(z)};
    for (int i = 0; i < 2; ++i)
        for (int b = 0; b < 4; ++b)
            out[4 * i + b] = uint8_t(header[i] >> (8 * b));
    return true;
}

bool bzobj_write_file(const iMeshType& type, const cMeshObj_data& mesh, const std::string& path,
                      std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!bzobj_encode(type, mesh, bytes, error))
        return false;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return error = "cannot open " + path + " for writing", false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok)
        return error = "cannot write " + path, false;
    return true;
}
