// The mesh cache: one mesh per file key, the loader chosen by extension,
// and what a cached mesh looks like after its upload.
#include <gtest/gtest.h>

#include "mesh/mesh_gl_fixture.h"
#include "mesh_files/bzobj_format.h"
#include "mesh_files/cMeshManager.h"
#include "mesh_files/cMeshObj.h"
#include "mesh_files/obj/cObjLoader.h"

namespace {
const char* const TRIANGLE_PAIR_OBJ =
    "mtllib pair.mtl\n"
    "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "usemtl green\n"
    "f 1/1 2/2 3/3\n"
    "f 1/1 3/3 4/4\n";
const char* const PAIR_MTL = "newmtl green\nKd 0 1 0\nillum 0\n";

// The same file read without GL, as the asset tools read it.
cMeshData plain_load(const std::string& path)
{
    cMeshData data;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    cObjLoader().load_mesh(path, data, data);
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    return data;
}
}  // namespace

TEST_F(MeshGL, NamesWithTheSameLastComponentShareOneMesh)
{
    model("pair.mtl", PAIR_MTL);
    model("shared_pair.obj", TRIANGLE_PAIR_OBJ);
    cMeshManager* cache = cMeshManager::instance();

    // The first request loads, and its ignoreMaterials sticks.
    testing::internal::CaptureStdout();
    iMesh* first = cache->getMesh("../data/models/shared_pair.obj", true);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("parsing"), std::string::npos);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->has(MT_MATERIALS));
    EXPECT_TRUE(dynamic_cast<cMeshObj*>(first)->gl_materials.empty());
    EXPECT_EQ(dynamic_cast<cMeshObj*>(first)->groups.size(), 2u) << "the groups are kept";

    // Other directories and the other separator: the same mesh, nothing
    // read (the file is gone by now), materials still dropped.
    std::remove((root + "/data/models/shared_pair.obj").c_str());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(cache->getMesh("shared_pair.obj", false), first);
    EXPECT_EQ(cache->getMesh("C:\\models\\shared_pair.obj", false), first);
    EXPECT_EQ(cache->getMesh("x/y\\shared_pair.obj", false), first);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(first->has(MT_MATERIALS));
    EXPECT_TRUE(cache->cached("shared_pair.obj"));
}

TEST_F(MeshGL, ExtensionsAreMatchedCaseSensitively)
{
    model("pair.mtl", PAIR_MTL);
    model("shouting.OBJ", TRIANGLE_PAIR_OBJ);
    model("noext", TRIANGLE_PAIR_OBJ);
    cMeshManager* cache = cMeshManager::instance();
    const size_t before = cache->size();

    testing::internal::CaptureStderr();
    EXPECT_EQ(cache->getMesh("shouting.OBJ", false), nullptr);
    EXPECT_EQ(cache->getMesh("noext", false), nullptr);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("\"shouting.OBJ\" has the extension \"OBJ\""), std::string::npos) << err;
    EXPECT_NE(err.find("\"noext\""), std::string::npos) << err;
    EXPECT_EQ(cache->size(), before) << "nothing is cached for a name no loader takes";

    // A caller that needs the mesh stops, naming the file and itself.
    EXPECT_EXIT(cache->requireMesh("shouting.OBJ", false, "cSceneTest::init"), testing::ExitedWithCode(255),
                "cSceneTest::init: no mesh for \"shouting.OBJ\"");
}

TEST_F(MeshGL, CachedMeshKeepsItsIndicesAndDropsItsVertexArrays)
{
    model("pair.mtl", PAIR_MTL);
    model("dropped_pair.obj", TRIANGLE_PAIR_OBJ);
    const cMeshData plain = plain_load(root + "/data/models/dropped_pair.obj");
    ASSERT_EQ(plain.indices.size(), 6u);

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    auto* mesh = dynamic_cast<cMeshObj*>(cMeshManager::instance()->getMesh("dropped_pair.obj", false));
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->positions, std::vector<float>{0.0f});
    EXPECT_EQ(mesh->normals, std::vector<float>{0.0f});
    EXPECT_EQ(mesh->texcoords, std::vector<float>{0.0f});
    EXPECT_EQ(mesh->indices, plain.indices);
    EXPECT_EQ(mesh->groups, plain.groups);
    ASSERT_EQ(mesh->gl_materials.size(), 1u);
    EXPECT_EQ(mesh->gl_materials[0].name, "green");
    EXPECT_EQ(mesh->gl_materials[0].Kd[3], 1.0f) << "d copied into the colours' alpha";

    // It still draws: the green material emits its diffuse colour.
    clear();
    mesh->draw();
    EXPECT_TRUE(near_rgba(cell(1, 2), {0, 255, 0, 255}, 3));
}

TEST_F(MeshGL, CompressedMeshLoadsAndDrawsLikeItsObj)
{
    model("pair.mtl", PAIR_MTL);
    model("baked_pair.obj", TRIANGLE_PAIR_OBJ);
    const cMeshData plain = plain_load(root + "/data/models/baked_pair.obj");
    std::string why;
    ASSERT_TRUE(bzobj_write_file(plain, plain, root + "/data/models/baked_pair.bzobj", why)) << why;

    cMeshManager* cache = cMeshManager::instance();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    auto* obj = dynamic_cast<cMeshObj*>(cache->getMesh("baked_pair.obj", false));
    auto* bz = dynamic_cast<cMeshObj*>(cache->getMesh("models/baked_pair.bzobj", false));
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    ASSERT_NE(obj, nullptr);
    ASSERT_NE(bz, nullptr);
    EXPECT_NE(obj, bz) << "different keys, different meshes";
    EXPECT_EQ(bz->m_type, obj->m_type);
    EXPECT_EQ(bz->indices, obj->indices);
    ASSERT_EQ(bz->gl_materials.size(), 1u);
    EXPECT_TRUE(static_cast<const cMaterial&>(bz->gl_materials[0]) == obj->gl_materials[0]);

    clear();
    bz->draw();
    EXPECT_TRUE(near_rgba(cell(1, 2), {0, 255, 0, 255}, 3));
    EXPECT_TRUE(near_rgba(cell(2, 1), {0, 255, 0, 255}, 3));
}

TEST_F(MeshGL, MissingMeshFilesEndTheProcessNamingThem)
{
    cMeshManager* cache = cMeshManager::instance();
    EXPECT_EXIT(cache->getMesh("absent.obj", false), testing::ExitedWithCode(255),
                "# ERROR - couldn't find absent.obj from ObjLoader::create");
    EXPECT_EXIT(cache->getMesh("absent.bzobj", false), testing::ExitedWithCode(255),
                "# ERROR - couldn't find absent.bzobj from BzObjLoader::create");
}
