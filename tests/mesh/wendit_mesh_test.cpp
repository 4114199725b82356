// `wendit mesh` as a person preparing the show's meshes uses it.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "support/run_tool.h"

namespace {
std::string write(const std::string& name, const std::string& content)
{
    std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

const char OBJ[] =
    "mtllib wm.mtl\n"
    "v -1 0 0\nv 1 0 0\nv 1 2 0\nv -1 2 0.5\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "usemtl blue\nf 1/1 2/2 3/3 4/4\n"
    "usemtl red\nf 1/1 3/3 4/4\n";
const char MTL[] = "newmtl red\nKd 1 0 0\nillum 2\nmap_Kd red.png\nnewmtl blue\nKd 0 0 1\nd 0.5\n";

const char REPORT_HEAD[] =
    "flags: 0x13\n"
    "vertices: 4\n"
    "triangles: 3\n"
    "groups: 2\n"
    "materials: 2\n";
const char REPORT_TAIL[] =
    "group: 0 0\n"
    "group: 3 1\n"
    "material: \"red\" Ka 0 0 0 0 Kd 1 0 0 0 Ks 0 0 0 0 Ns 0 illum 2 d 1 Ni 1 map_Ka \"\" map_Kd \"red.png\" "
    "map_Ks \"\" bump \"\" map_d \"\"\n"
    "material: \"blue\" Ka 0 0 0 0 Kd 0 0 1 0 Ks 0 0 0 0 Ns 0 illum 0 d 0.5 Ni 1 map_Ka \"\" map_Kd \"\" "
    "map_Ks \"\" bump \"\" map_d \"\"\n"
    "bbox: -1 0 0 1 2 0.5\n";
}  // namespace

TEST(WenditMesh, InfoReportsAnObjAndConvertKeepsTheSameMesh)
{
    write("wm.mtl", MTL);
    std::string obj = write("wm.obj", OBJ);
    ToolRun info = run_tool("./wendit mesh info '" + obj + "'");
    EXPECT_EQ(info.exitCode, 0) << info.err;
    EXPECT_EQ(info.out, std::string(REPORT_HEAD) +
                            "obj_positions: 4\nobj_texcoords: 4\nobj_normals: 0\nobj_faces: 2\n" + REPORT_TAIL);
    EXPECT_NE(info.err.find("warning, created smooth normals..."), std::string::npos);

    std::string out = testing::TempDir() + "wm.bzobj";
    ToolRun conv = run_tool("./wendit mesh convert '" + obj + "' '" + out + "'");
    EXPECT_EQ(conv.exitCode, 0) << conv.err;
    EXPECT_EQ(conv.out, "");
    ToolRun back = run_tool("./wendit mesh info '" + out + "'");
    EXPECT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(back.out, std::string(REPORT_HEAD) + REPORT_TAIL);
    EXPECT_EQ(back.err, "");
}

TEST(WenditMesh, BadFilesEndAsTheyDoInTheShow)
{
    ToolRun missing = run_tool("./wendit mesh info /nonexistent/m.bzobj");
    EXPECT_EQ(missing.exitCode, 255);
    EXPECT_EQ(missing.err, "# ERROR opening file /nonexistent/m.bzobj in bobj_load_compressed\n");

    std::string junk = write("junk.bzobj", std::string("\x10\0\0\0\x40\0\0\0garbage", 15));
    ToolRun bad = run_tool("./wendit mesh info '" + junk + "'");
    EXPECT_EQ(bad.exitCode, 255);
    EXPECT_EQ(bad.err, "# ERROR in bobj_load_compressed: " + junk + ": compressed size 64 runs past the end of the file (15 bytes)\n");

    std::string slash = write("slash.obj", "v 0 0 0\nvt 0 0\nf 1 1 1\n");
    ToolRun fatal = run_tool("./wendit mesh convert '" + slash + "' " + testing::TempDir() + "never.bzobj");
    EXPECT_EQ(fatal.exitCode, 255);
    EXPECT_NE(fatal.err.find("missing / in line: 3"), std::string::npos);

    EXPECT_EQ(run_tool("./wendit mesh info cube.3ds").exitCode, 2);
    EXPECT_EQ(run_tool("./wendit mesh convert a.bzobj b.bzobj").exitCode, 2);
    EXPECT_EQ(run_tool("./wendit mesh").exitCode, 2);
}

TEST(WenditMesh, ConvertRefusesAMaterialMapWithoutPowerOfTwoSides)
{
    // The mesh shaders sample material maps as 2-D textures with 0..1
    // coordinates; a 12x16 map would load as a rectangle texture.
    const std::string dir = testing::TempDir();
    for (auto size : {std::pair<int, int>{12, 16}, {16, 16}}) {
        FIBITMAP* image = FreeImage_Allocate(size.first, size.second, 24);
        FreeImage_Save(FIF_PNG, image, (dir + "red.png").c_str(), 0);
        FreeImage_Unload(image);
        write("wm.mtl", MTL);
        std::string obj = write("wm.obj", OBJ);
        ToolRun conv = run_tool("./wendit mesh convert '" + obj + "' '" + dir + "np2.bzobj'");
        if (size.first == 12) {
            EXPECT_EQ(conv.exitCode, 1);
            EXPECT_NE(conv.err.find("\"red.png\" (" + dir + "red.png) is 12x16"), std::string::npos) << conv.err;
        } else {
            EXPECT_EQ(conv.exitCode, 0) << conv.err;
        }
    }
    std::remove((dir + "red.png").c_str());
}
