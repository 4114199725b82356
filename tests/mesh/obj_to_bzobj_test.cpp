// Baking: an OBJ loaded as the show loads it, written in the compressed
// format and read back, is the same mesh.
#include <gtest/gtest.h>

#include <sstream>

#include "mesh_files/bzobj_format.h"
#include "mesh_files/obj/cObjLoader.h"

namespace {

cMeshData load_obj(const std::string& text, const std::string& mtl)
{
    std::ostringstream log, warn;
    cObjLoader loader(log, warn);
    loader.set_file_reader([&](const std::string&, std::vector<char>& bytes) {
        bytes.assign(mtl.begin(), mtl.end());
        return true;
    });
    cMeshData mesh;
    std::string error;
    EXPECT_TRUE(loader.load_bytes(text.data(), text.size(), "", mesh, mesh, error)) << error;
    return mesh;
}

cMeshData round_trip(const cMeshData& mesh)
{
    std::vector<uint8_t> file;
    std::string why;
    EXPECT_TRUE(bzobj_encode(mesh, mesh, file, why)) << why;
    cMeshData back;
    BzObjError e;
    EXPECT_TRUE(bzobj_decode(file.data(), file.size(), back, back, e)) << e.message;
    return back;
}

// A grid of quads, three materials in stripes, texture coordinates and
// normals given per vertex, with the quads' materials out of order.
std::string grid_obj(int n)
{
    std::ostringstream s;
    s << "mtllib grid.mtl\n";
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x)
            s << "v " << x << " " << y << " " << (x * y % 5) * 0.1 << "\nvt " << x / double(n) << " " << y / double(n)
              << "\nvn 0 0 1\n";
    const char* names[3] = {"stone", "grass", "water"};
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int a = y * (n + 1) + x + 1, b = a + 1, c = a + n + 2, d = a + n + 1;
            s << "usemtl " << names[(x + 2 * y) % 3] << "\nf " << a << "/" << a << "/" << a << " " << b << "/" << b
              << "/" << b << " " << c << "/" << c << "/" << c << " " << d << "/" << d << "/" << d << "\n";
        }
    return s.str();
}
const char GRID_MTL[] =
    "newmtl stone\nKd 0.5 0.5 0.5\nmap_Kd stone.png\nillum 2\nnewmtl grass\nKd 0 1 0\nNs 10\n"
    "newmtl water\nKd 0 0 1\nd 0.5\nmap_d water.png\n";

}  // namespace

TEST(ObjToBzObj, AGridOfThreeMaterialsComesBackTheSame)
{
    cMeshData obj = load_obj(grid_obj(12), GRID_MTL);
    ASSERT_EQ(obj.triangle_count(), 2u * 12 * 12);
    ASSERT_EQ(obj.group_count(), 3u);
    cMeshData back = round_trip(obj);
    EXPECT_EQ(back.m_type, obj.m_type);
    EXPECT_EQ(back.positions, obj.positions);
    EXPECT_EQ(back.normals, obj.normals);
    EXPECT_EQ(back.texcoords, obj.texcoords);
    EXPECT_EQ(back.indices, obj.indices);
    EXPECT_EQ(back.groups, obj.groups);
    EXPECT_EQ(back.materials, obj.materials);
}

TEST(ObjToBzObj, AMeshWithoutMaterialsDrawsTheSame)
{
    cMeshData obj = load_obj("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 1\nf 1 2 3\nf 2 4 3\n", "");
    cMeshData back = round_trip(obj);
    EXPECT_EQ(back.m_type, MT_NORMALS);
    EXPECT_EQ(back.positions, obj.positions);
    EXPECT_EQ(back.normals, obj.normals);
    EXPECT_EQ(back.indices, obj.indices);
    // The format always has a first group; unused without per-material drawing.
    EXPECT_EQ(obj.groups, (std::vector<MaterialGroup>{{6, NO_MATERIAL}}));
    EXPECT_EQ(back.groups, (std::vector<MaterialGroup>{{0, 0}, {6, NO_MATERIAL}}));
}

TEST(ObjToBzObj, UnusedMaterialsAreKeptAfterTheUsedOnes)
{
    cMeshData obj = load_obj("mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl water\nf 1 2 3\n", GRID_MTL);
    ASSERT_EQ(obj.groups, (std::vector<MaterialGroup>{{0, 2}, {3, NO_MATERIAL}}));
    cMeshData back = round_trip(obj);
    EXPECT_EQ(back.groups, (std::vector<MaterialGroup>{{0, 0}, {3, NO_MATERIAL}}));
    ASSERT_EQ(back.materials.size(), 3u);
    EXPECT_EQ(back.materials[0], obj.materials[2]);
    EXPECT_EQ(back.materials[1], obj.materials[0]);
    EXPECT_EQ(back.materials[2], obj.materials[1]);
}

TEST(ObjToBzObj, AnObjWithMaterialsButNoFacesIsAnEmptyMesh)
{
    cMeshData obj = load_obj("mtllib m.mtl\nusemtl grass\nv 0 0 0\n", GRID_MTL);
    ASSERT_TRUE(obj.has(MT_MATERIALS));
    cMeshData back = round_trip(obj);
    EXPECT_EQ(back.triangle_count(), 0u);
    EXPECT_EQ(back.vertex_count(), 0u);
    EXPECT_EQ(back.materials.size(), 3u);
}
