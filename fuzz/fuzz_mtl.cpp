// libFuzzer harness: any bytes as a material library.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "mesh_files/obj/cMtlLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::ostringstream warn;
    std::vector<cMaterial> materials;
    cMtlLoader::parse(materials, reinterpret_cast<const char*>(data), size, "fuzz.mtl", warn);
    return 0;
}
