// How the mesh cache keys meshes and picks their loader.
#include <gtest/gtest.h>

#include "mesh_files/mesh_names.h"

TEST(MeshNames, TheKeyIsTheLastComponentWhateverTheSeparator)
{
    EXPECT_EQ(mesh_key("../data/models/cube.obj"), "cube.obj");
    EXPECT_EQ(mesh_key("models\\cube.obj"), "cube.obj");
    EXPECT_EQ(mesh_key("a/b\\cube.obj"), "cube.obj");
    EXPECT_EQ(mesh_key("cube.obj"), "cube.obj");
    EXPECT_EQ(mesh_key("models/"), "");
}

TEST(MeshNames, TheLoaderFollowsTheExtensionCaseSensitively)
{
    EXPECT_EQ(mesh_file_kind("a/cube.obj"), eMeshFileKind::obj);
    EXPECT_EQ(mesh_file_kind("cube.bzobj"), eMeshFileKind::bzobj);
    EXPECT_EQ(mesh_file_kind("cube.OBJ"), eMeshFileKind::unknown);
    EXPECT_EQ(mesh_file_kind("cube.3ds"), eMeshFileKind::unknown);
    EXPECT_EQ(mesh_file_kind("obj"), eMeshFileKind::obj);  // a name without a dot is its own extension
    EXPECT_EQ(mesh_extension("a.b.bzobj"), "bzobj");
}
