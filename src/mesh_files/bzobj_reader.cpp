// Reading the compressed mesh file. The payload is not trusted: every count
// and length is checked against the bytes actually there before anything is
// copied, so a damaged or hostile file ends with a message, never with a
// read past a buffer or a mesh that draws with invalid indices.
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

#include "mesh_files/bzobj_format.h"
#include "util/fatal_exit.h"
#include "util/file_bytes.h"

namespace {

// Bytes of the file are little-endian, as is every machine the show runs on.
uint32_t u32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// An empty section has no storage to copy into (a null pointer memcpy may
// not be handed, even for no bytes).
void floats(const uint8_t* p, size_t n, float* out)
{
    if (n)
        std::memcpy(out, p, 4 * n);
}

bool fail(BzObjError& error, const std::string& what)
{
    error.kind = BzObjError::bad_data;
    error.message = what;
    return false;
}

// A cursor over the payload that checks each section's size before it is
// taken.
struct Cursor {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    size_t left() const { return size - pos; }
    // Takes n bytes (n computed in 64 bits); null when they are not there.
    const uint8_t* take(uint64_t n)
    {
        if (n > left())
            return nullptr;
        const uint8_t* p = data + pos;
        pos += size_t(n);
        return p;
    }
};

std::string str(uint64_t v) { return std::to_string(v); }

}  // namespace

bool bzobj_parse_payload(const uint8_t* data, size_t size, iMeshType& type, cMeshObj_data& mesh,
                         BzObjError& error)
{
    mesh.clear_all();
    Cursor in{data, size};
    const uint8_t* head = in.take(BZOBJ_PAYLOAD_HEADER);
    if (!head)
        return fail(error, "payload of " + str(size) + " bytes is shorter than its " +
                               str(BZOBJ_PAYLOAD_HEADER) + "-byte header");
    type.m_type = head[0];
    const uint32_t V = u32(head + 1), T = u32(head + 5);
    const int32_t M = int32_t(u32(head + 9));
    if (V >= 0x80000000u)
        return fail(error, "vertex count " + str(V) + " is not below 2^31");
    if (T >= 0x80000000u)
        return fail(error, "triangle count " + str(T) + " is not below 2^31");
    if (M < 0)
        return fail(error, "material count " + std::to_string(M) + " is negative");

    const bool nor = type.has(MT_NORMALS), tex = type.has(MT_TEXCOORDS);
    const uint64_t vertexBytes = uint64_t(V) * (12 + (nor ? 12 : 0) + (tex ? 8 : 0));
    const uint64_t triangleBytes = uint64_t(T) * 16;
    if (vertexBytes + triangleBytes > in.left())
        return fail(error, str(V) + " vertices and " + str(T) + " triangles need " +
                               str(vertexBytes + triangleBytes) + " bytes, the payload has " + str(in.left()) +
                               " after its header");
    // Each record takes at least 6 length bytes and 64 bytes of values.
    const uint64_t minMaterialBytes = uint64_t(M) * 70;
    if (minMaterialBytes > in.left() - vertexBytes - triangleBytes)
        return fail(error, std::to_string(M) + " materials need at least " + str(minMaterialBytes) +
                               " bytes, the payload has " + str(in.left() - vertexBytes - triangleBytes) +
                               " after the triangles");

    mesh.positions.resize(3 * size_t(V));
    floats(in.take(12ull * V), 3 * size_t(V), mesh.positions.data());
    if (nor) {
        mesh.normals.resize(3 * size_t(V));
        floats(in.take(12ull * V), 3 * size_t(V), mesh.normals.data());
    }
    if (tex) {
        mesh.texcoords.resize(2 * size_t(V));
        floats(in.take(8ull * V), 2 * size_t(V), mesh.texcoords.data());
    }

    // Corner k of triangle t is the running sum of plane k up to t.
    const uint8_t* planes[3];
    for (auto& p : planes)
        p = in.take(4ull * T);
    const uint8_t* marks = in.take(4ull * T);
    mesh.indices.resize(3 * size_t(T));
    uint32_t sum[3] = {0, 0, 0};
    for (size_t t = 0; t < T; ++t) {
        for (int k = 0; k < 3; ++k) {
            sum[k] += u32(planes[k] + 4 * t);  // wraps modulo 2^32
            if (sum[k] >= V)
                return fail(error, "triangle " + str(t) + " refers to vertex " + str(sum[k]) + ", the mesh has " +
                                       str(V) + " vertices");
            mesh.indices[3 * t + k] = sum[k];
        }
    }

    uint32_t m = 0;
    mesh.groups.push_back({0, 0});
    for (size_t t = 1; t < T; ++t)
        if (u32(marks + 4 * t) != 0)
            mesh.groups.push_back({uint32_t(3 * t), ++m});
    mesh.groups.push_back({uint32_t(3 * size_t(T)), NO_MATERIAL});
    if (type.has(MT_MATERIALS) && m >= uint32_t(M))
        return fail(error, str(m + 1) + " material groups name materials up to " + str(m) + ", the file has " +
                               std::to_string(M) + " materials");

    static const char* const NAMES[6] = {"name", "map_Ka", "map_Kd", "map_Ks", "bump", "map_d"};
    mesh.materials.reserve(size_t(M));
    for (int32_t r = 0; r < M; ++r) {
        const std::string where = "material record " + std::to_string(r) + ": ";
        const uint8_t* len = in.take(6);
        if (!len)
            return fail(error, where + "its lengths run past the end of the payload");
        std::string s[6];
        for (int i = 0; i < 6; ++i) {
            if (len[i] > BZOBJ_MAX_NAME)
                return fail(error, where + NAMES[i] + " length " + str(len[i]) + " is over " + str(BZOBJ_MAX_NAME));
        }
        for (int i = 0; i < 6; ++i) {
            const uint8_t* p = in.take(len[i]);
            if (!p)
                return fail(error, where + NAMES[i] + " runs past the end of the payload");
            // A name ends at its first zero byte, as it always has.
            const char* c = reinterpret_cast<const char*>(p);
            s[i].assign(c, strnlen(c, len[i]));
        }
        const uint8_t* v = in.take(64);
        if (!v)
            return fail(error, where + "its values run past the end of the payload");
        cMaterial mat(s[0]);
        mat.map_Ka = s[1];
        mat.map_Kd = s[2];
        mat.map_Ks = s[3];
        mat.bump = s[4];
        mat.map_d = s[5];
        floats(v, 4, mat.Ka);
        floats(v + 16, 4, mat.Kd);
        floats(v + 32, 4, mat.Ks);
        floats(v + 48, 1, &mat.Ns);
        mat.illum = int32_t(u32(v + 52));
        floats(v + 56, 1, &mat.d);
        floats(v + 60, 1, &mat.Ni);
        mesh.materials.push_back(mat);
    }
    return true;
}

bool bzobj_decode(const uint8_t* data, size_t size, iMeshType& type, cMeshObj_data& mesh, BzObjError& error)
{
    error = BzObjError();
    if (size < BZOBJ_HEADER)
        return fail(error, "file of " + str(size) + " bytes is shorter than its " + str(BZOBJ_HEADER) +
                               "-byte header");
    const uint32_t U = u32(data), Z = u32(data + 4);
    if (Z > size - BZOBJ_HEADER)
        return fail(error, "compressed size " + str(Z) + " runs past the end of the file (" + str(size) +
                               " bytes)");
    // Deflate cannot expand data more than about 1032 to 1; a larger U is a
    // damaged header, not a reason to allocate gigabytes.
    if (uint64_t(U) > uint64_t(Z) * 1032 + 1024)
        return fail(error, "payload size " + str(U) + " cannot come from " + str(Z) + " compressed bytes");

    // Not zero-filled: inflate writes every byte that is then read.
    std::unique_ptr<uint8_t[]> payload(new uint8_t[U ? U : 1]);
    uLongf got = U;
    int rc = uncompress(payload.get(), &got, data + BZOBJ_HEADER, Z);
    if (rc != Z_OK) {
        error.kind = BzObjError::zlib;
        error.zlibCode = rc;
        return false;
    }
    if (got != U)
        return fail(error, "data inflated to " + str(got) + " bytes, the header says " + str(U));
    return bzobj_parse_payload(payload.get(), got, type, mesh, error);
}

void bobj_load_compressed(iMeshType& type, cMeshObj_data& mesh, const std::string& path)
{
    std::vector<char> bytes;
    if (!read_file_bytes(path, bytes)) {
        std::cerr << "# ERROR opening file " << path << " in bobj_load_compressed" << std::endl;
        end_process(-1);
    }
    BzObjError error;
    if (bzobj_decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), type, mesh, error))
        return;
    if (error.kind == BzObjError::zlib) {
        // The show's words for it, and the file they are about.
        std::cerr << "# warning: zlib caused an error: " << error.zlibCode << " (file \"" << path << "\")"
                  << std::endl;
        end_process(1);
    }
    std::cerr << "# ERROR in bobj_load_compressed: " << path << ": " << error.message << std::endl;
    end_process(-1);
}
