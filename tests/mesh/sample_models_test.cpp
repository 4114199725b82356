// The sample models in tests/data/mesh, written the way different exporters
// write OBJ files. The expected counts are those an independent OBJ reader
// reports for the same files (scripts/check_obj.py compares the two).
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "mesh_files/bzobj_format.h"
#include "mesh_files/obj/cObjLoader.h"

namespace {
struct Expected {
    const char* file;
    size_t positions, texcoords, normals, triangles;
    std::vector<std::string> materials;
    uint8_t flags;
};
}  // namespace

TEST(SampleModels, LoadWithTheCountsAnIndependentReaderReports)
{
    const Expected models[] = {
        {"crate_quads.obj", 8, 14, 6, 12, {"Metal", "Wood"}, MT_TEXCOORDS | MT_NORMALS | MT_MATERIALS},
        {"prism_groups.obj", 6, 5, 0, 8, {"caps", "sides", "unused"}, MT_TEXCOORDS | MT_NORMALS | MT_MATERIALS},
        {"star_ngons.obj", 15, 0, 0, 11, {}, MT_NORMALS},
    };
    for (const Expected& m : models) {
        SCOPED_TRACE(m.file);
        std::ostringstream log, warn;
        cObjLoader loader(log, warn);
        cMeshData mesh;
        loader.load_mesh(std::string(WENDIT_SOURCE_DIR "/tests/data/mesh/") + m.file, mesh, mesh);
        EXPECT_EQ(loader.position_lines(), m.positions);
        EXPECT_EQ(loader.texcoord_lines(), m.texcoords);
        EXPECT_EQ(loader.normal_lines(), m.normals);
        EXPECT_EQ(mesh.triangle_count(), m.triangles);
        EXPECT_EQ(mesh.m_type, m.flags);
        std::vector<std::string> names;
        for (const cMaterial& mat : mesh.materials)
            names.push_back(mat.name);
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, m.materials);
        EXPECT_EQ(warn.str().find("## "), std::string::npos) << warn.str();

        std::vector<uint8_t> file;
        std::string why;
        ASSERT_TRUE(bzobj_encode(mesh, mesh, file, why)) << why;
        cMeshData back;
        BzObjError e;
        ASSERT_TRUE(bzobj_decode(file.data(), file.size(), back, back, e)) << e.message;
        EXPECT_EQ(back.indices, mesh.indices);
        EXPECT_EQ(back.positions, mesh.positions);
        EXPECT_EQ(back.normals, mesh.normals);
        EXPECT_EQ(back.texcoords, mesh.texcoords);
        EXPECT_EQ(back.materials, mesh.materials);
        if (mesh.has(MT_MATERIALS)) {
            EXPECT_EQ(back.groups, mesh.groups);
        }
    }
}
