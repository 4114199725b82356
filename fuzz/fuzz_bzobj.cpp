// libFuzzer harness: any bytes as a compressed mesh file, and any bytes as an
// already inflated payload (the zlib check would otherwise keep most inputs
// away from the payload parser). Whatever the reader accepts must be a mesh
// the GL side can draw, and must survive writing and reading again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "mesh_files/bzobj_format.h"

namespace {
void check(const cMeshData& mesh)
{
    const size_t V = mesh.vertex_count();
    for (uint32_t i : mesh.indices)
        if (i >= V)
            std::abort();
    if (mesh.has(MT_MATERIALS))
        for (size_t g = 0; g + 1 < mesh.groups.size(); ++g)
            if (mesh.groups[g].material >= mesh.materials.size())
                std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    cMeshData mesh;
    BzObjError error;
    if (bzobj_decode(data, size, mesh, mesh, error))
        check(mesh);

    cMeshData plain;
    if (!bzobj_parse_payload(data, size, plain, plain, error))
        return 0;
    check(plain);
    std::vector<uint8_t> payload;
    std::string why;
    if (!bzobj_encode_payload(plain, plain, payload, why))
        return 0;  // names with zero bytes cannot be written back
    cMeshData again;
    if (!bzobj_parse_payload(payload.data(), payload.size(), again, again, error))
        std::abort();
    if (again.indices != plain.indices || again.positions.size() != plain.positions.size())
        std::abort();
    return 0;
}
