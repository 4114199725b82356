// The OBJ reader: what each line kind stores, triangulation, normals, the
// conversion to one index per vertex with material ordering, and how broken
// files are reported.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "mesh_files/obj/cObjLoader.h"

namespace {

// A loader over in-memory text whose mtllib files come from a map.
struct ObjRun {
    std::ostringstream log, warn;
    cObjLoader loader{log, warn};
    cMeshData mesh;
    std::string error;
    std::map<std::string, std::string> files;

    ObjRun()
    {
        loader.set_file_reader([this](const std::string& path, std::vector<char>& bytes) {
            auto it = files.find(path);
            if (it == files.end())
                return false;
            bytes.assign(it->second.begin(), it->second.end());
            return true;
        });
    }
    bool parse(const std::string& text) { return loader.parse(text.data(), text.size(), "d/", error); }
    bool load(const std::string& text) { return loader.load_bytes(text.data(), text.size(), "d/", mesh, mesh, error); }
    std::vector<uint32_t> triangle(size_t t) const
    {
        return {mesh.indices[3 * t], mesh.indices[3 * t + 1], mesh.indices[3 * t + 2]};
    }
};

const char QUAD[] = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";
const char TWO_MATERIALS[] = "newmtl zero\nKd 1 0 0\nnewmtl one\nKd 0 1 0\n";

}  // namespace

TEST(ObjLoader, StoresFourPositionValuesAndTwoTextureValuesPerLine)
{
    ObjRun r;
    ASSERT_TRUE(r.parse("v 1 2 3\nv 1 2 3 0.5\nvt 0.1 0.2 0.3\nvt 0.7\nvn 0 0 1\n"));
    EXPECT_EQ(r.loader.positions, (std::vector<float>{1, 2, 3, 1, 1, 2, 3, 0.5f}));
    EXPECT_EQ(r.loader.texcoords, (std::vector<float>{0.1f, 0.2f, 0.7f, 0}));
    EXPECT_EQ(r.loader.normals, (std::vector<float>{0, 0, 1}));
    EXPECT_EQ(r.loader.m_type, MT_TEXCOORDS | MT_NORMALS);
    EXPECT_EQ(r.warn.str(), "");
}

TEST(ObjLoader, ShortOrLongVertexLinesKeepLaterVerticesInPlace)
{
    ObjRun r;
    ASSERT_TRUE(r.parse("v 1 2\nv 1 2 3 4 5\nv 7 8 9\nvn 1 0\nvn 0 1 0\nvt\nvt 5 6\n"));
    EXPECT_EQ(r.loader.positions, (std::vector<float>{1, 2, 0, 1, 1, 2, 3, 4, 7, 8, 9, 1}));
    EXPECT_EQ(r.loader.normals, (std::vector<float>{1, 0, 0, 0, 1, 0}));
    EXPECT_EQ(r.loader.texcoords, (std::vector<float>{0, 0, 5, 6}));
    EXPECT_EQ(r.warn.str(),
              "## error, 2 position-coordinates in line: 1\n"
              "## error, 5 position-coordinates in line: 2\n"
              "## error, 2 normal-coordinates in line: 4\n"
              "## error, 0 texture-coordinates in line: 6\n");
}

TEST(ObjLoader, AQuadBecomesTwoFanTriangles)
{
    ObjRun r;
    ASSERT_TRUE(r.load(std::string(QUAD) + "f 1 2 3 4\n"));
    ASSERT_EQ(r.mesh.triangle_count(), 2u);
    EXPECT_EQ(r.triangle(0), (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(r.triangle(1), (std::vector<uint32_t>{0, 2, 3}));
    EXPECT_EQ(r.mesh.positions, (std::vector<float>{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}));
    // No vn lines: smooth normals, here all facing +z.
    EXPECT_NE(r.warn.str().find("warning, created smooth normals...\n"), std::string::npos);
    for (size_t v = 0; v < 4; ++v)
        EXPECT_EQ(r.mesh.normals[3 * v + 2], 1.0f);
    EXPECT_EQ(r.mesh.m_type, MT_NORMALS);
    EXPECT_EQ(r.mesh.groups, (std::vector<MaterialGroup>{{6, NO_MATERIAL}}));
}

TEST(ObjLoader, TriangulationPeelsTrianglesOffThePolygonEnd)
{
    ObjRun r;
    ASSERT_TRUE(r.parse("v 0 0 0\nv 1 0 0\nv 2 1 0\nv 1 2 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n"
                        "f 1/1/1 2/1/1 3/1/1 4/1/1 5/1/1\n"));
    EXPECT_TRUE(r.loader.has(MT_POLYGONS));
    r.loader.triangulate();
    EXPECT_FALSE(r.loader.has(MT_POLYGONS));
    ASSERT_EQ(r.loader.faces.size(), 3u);
    EXPECT_EQ(r.loader.faces[0].p, (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(r.loader.faces[1].p, (std::vector<uint32_t>{0, 3, 4}));
    EXPECT_EQ(r.loader.faces[2].p, (std::vector<uint32_t>{0, 2, 3}));
    for (const ObjFace& f : r.loader.faces) {
        EXPECT_EQ(f.t.size(), 3u);
        EXPECT_EQ(f.n.size(), 3u);
    }
}

TEST(ObjLoader, SmoothNormalsAverageTheFacesAtAPosition)
{
    // Two faces at right angles share the edge 1-2; the shared positions'
    // normals lie halfway between.
    ObjRun r;
    ASSERT_TRUE(r.load("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 1 0 -1\nf 1 2 3\nf 2 4 3\n"));
    const float h = 1.0f / std::sqrt(2.0f);
    std::vector<float> expected = {0, 0, 1, h, 0, h, h, 0, h, 1, 0, 0};
    ASSERT_EQ(r.mesh.normals.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(r.mesh.normals[i], expected[i], 1e-6) << i;
}

TEST(ObjLoader, FaceVertexFormsFollowTheFlagsAtThatMoment)
{
    ObjRun r;
    // Without vt/vn only the position counts; i/t/n then keeps all three.
    ASSERT_TRUE(r.parse(std::string(QUAD) + "f 1/9/9 2 3\nvt 0 0\nvt 1 1\nf 1/2 2/1/7 3/2\n" +
                        "vn 0 0 1\nf 1/1/1 2//1 3/2/1\nf 1//1 2//1 3//1\n"));
    ASSERT_EQ(r.loader.faces.size(), 3u) << r.warn.str();
    EXPECT_TRUE(r.loader.faces[0].t.empty());
    EXPECT_EQ(r.loader.faces[1].t, (std::vector<uint32_t>{1, 0, 1}));
    EXPECT_TRUE(r.loader.faces[1].n.empty());
    EXPECT_EQ(r.loader.faces[2].p, (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_TRUE(r.loader.faces[2].t.empty());
    EXPECT_EQ(r.loader.faces[2].n, (std::vector<uint32_t>{0, 0, 0}));
    EXPECT_EQ(r.warn.str(), "## Error in line: 10 - varying number of elements in face-declaration. Skipping face...\n");
    EXPECT_EQ(r.loader.face_lines(), 3u);
}

TEST(ObjLoader, AMissingSlashIsFatalAndNamesTheLine)
{
    ObjRun r;
    EXPECT_FALSE(r.parse(std::string(QUAD) + "vt 0 0\nf 1 2 3\n"));
    EXPECT_EQ(r.error, "## ERROR in ..\\src\\mesh_files\\obj\\cObjLoader, line #162, missing / in line: 6");
    EXPECT_FALSE(r.parse(std::string(QUAD) + "vn 0 0 1\nf 1 2 3\n"));
    EXPECT_EQ(r.error, "## ERROR in ..\\src\\mesh_files\\obj\\cObjLoader, line #172, missing / in line: 6");
    EXPECT_FALSE(r.parse(std::string(QUAD) + "vn 0 0 1\nvt 0 0\nf 1/1 2/1 3/1\n"));
    EXPECT_EQ(r.error, "## ERROR in ..\\src\\mesh_files\\obj\\cObjLoader, line #178, missing / in line: 7");
}

TEST(ObjLoader, AVaryingFaceIsSkippedAndReadingGoesOn)
{
    ObjRun r;
    ASSERT_TRUE(r.parse(std::string(QUAD) + "vt 0 0\nvt 1 1\nf 1/1 2/ 3/2\nf 1/1 2/2 3/1\n"));
    EXPECT_EQ(r.warn.str(), "## Error in line: 7 - varying number of elements in face-declaration. Skipping face...\n");
    ASSERT_EQ(r.loader.faces.size(), 1u);
    EXPECT_EQ(r.loader.faces[0].t, (std::vector<uint32_t>{0, 1, 0}));
}

TEST(ObjLoader, FaceIndicesBeyondWhatWasReadAreReportedAndSkipped)
{
    ObjRun r;
    ASSERT_TRUE(r.load(std::string(QUAD) + "f 1 2 5\nf 0 1 2\nvt 0 0\nf 1/1 2/2 3/1\nvn 0 0 1\n" +
                       "f 1/1/2 2/1/1 3/1/1\nf 4/1/1 3/1/1 2/1/1\n"));
    EXPECT_NE(r.warn.str().find("## Error in line: 5 - face refers to position 5, only 4 read so far. Skipping face...\n"),
              std::string::npos);
    EXPECT_NE(r.warn.str().find("## Error in line: 6 - face refers to position 0, only 4 read so far."), std::string::npos);
    EXPECT_NE(r.warn.str().find("## Error in line: 8 - face refers to texture coordinate 2, only 1 read so far."),
              std::string::npos);
    EXPECT_NE(r.warn.str().find("## Error in line: 10 - face refers to normal 2, only 1 read so far."),
              std::string::npos);
    EXPECT_EQ(r.mesh.triangle_count(), 1u);
}

TEST(ObjLoader, SharedPositionsWithDifferentTextureCoordinatesAreSeparateVertices)
{
    ObjRun r;
    ASSERT_TRUE(r.load(std::string(QUAD) + "vt 0 0\nvt 1 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\nf 1/2/1 3/1/1 4/1/1\n"));
    // Keys (position, normal, texcoord) in ascending order: (0,0,0) (0,0,1)
    // (1,0,0) (2,0,0) (3,0,0).
    EXPECT_EQ(r.mesh.vertex_count(), 5u);
    EXPECT_EQ(r.triangle(0), (std::vector<uint32_t>{0, 2, 3}));
    EXPECT_EQ(r.triangle(1), (std::vector<uint32_t>{1, 3, 4}));
    EXPECT_EQ(r.mesh.texcoords, (std::vector<float>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(r.mesh.m_type, MT_TEXCOORDS | MT_NORMALS);
}

TEST(ObjLoader, FacesAreOrderedByMaterialOneGroupPerMaterial)
{
    ObjRun r;
    r.files["d/m.mtl"] = TWO_MATERIALS;
    ASSERT_TRUE(r.load(std::string("mtllib m.mtl\n") + QUAD +
                       "usemtl one\nf 1 2 3\nusemtl zero\nf 1 3 4\nusemtl one\nusemtl one\nf 2 3 4\nf 1 2 4\n"));
    EXPECT_EQ(r.mesh.groups, (std::vector<MaterialGroup>{{0, 0}, {3, 1}, {12, NO_MATERIAL}}));
    EXPECT_EQ(r.triangle(0), (std::vector<uint32_t>{0, 2, 3}));  // the material-0 face first
    EXPECT_EQ(r.triangle(1), (std::vector<uint32_t>{0, 1, 2}));  // then material 1 in file order
    EXPECT_EQ(r.triangle(2), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(r.triangle(3), (std::vector<uint32_t>{0, 1, 3}));
    ASSERT_EQ(r.mesh.materials.size(), 2u);
    EXPECT_EQ(r.mesh.materials[1].name, "one");
    EXPECT_EQ(r.mesh.m_type, MT_NORMALS | MT_MATERIALS);
}

TEST(ObjLoader, FacesWithoutAKnownMaterialAreDrawnWithMaterialZero)
{
    ObjRun r;
    r.files["d/m.mtl"] = TWO_MATERIALS;
    ASSERT_TRUE(r.load(std::string(QUAD) + "usemtl early\nf 1 2 3\nmtllib m.mtl\nf 1 2 4\nusemtl one\nf 1 3 4\n" +
                       "usemtl nope\nf 2 3 4\nusemtl nada\nf 1 2 3\n"));
    EXPECT_EQ(r.warn.str().find("# warning: No materials defined! \"usemtl early\" illegal in line 5... skipped!\n"), 0u);
    EXPECT_NE(r.warn.str().find("# WARNING: unknown material \"nope\" in line 11\n"
                                "# warning: faces after an unknown material are drawn with material 0\n"
                                "# WARNING: unknown material \"nada\" in line 13\n"),
              std::string::npos);
    // Faces before the first accepted usemtl and after unknown names all land
    // in the material-0 group, so every face is drawn.
    EXPECT_EQ(r.mesh.groups, (std::vector<MaterialGroup>{{0, 0}, {12, 1}, {15, NO_MATERIAL}}));
}

TEST(ObjLoader, MissingIndexKindsAreFilledFromTheFirstEntryWithOneWarning)
{
    ObjRun r;
    ASSERT_TRUE(r.load(std::string(QUAD) + "f 1 2 3\nf 1 3 4\nvt 0.5 0.5\nvn 0 1 0\n"));
    EXPECT_NE(r.warn.str().find("# warning: 6 face vertices have no texture-coordinate index; they use the first "
                                "texture coordinate\n"
                                "# warning: 6 face vertices have no normal index; they use the first normal\n"),
              std::string::npos);
    EXPECT_EQ(r.mesh.vertex_count(), 4u);
    EXPECT_EQ(r.mesh.texcoords, (std::vector<float>(8, 0.5f)));
    EXPECT_EQ(r.mesh.normals[1], 1.0f);
}

TEST(ObjLoader, AMalformedFaceStopsTriangulationAndPolygonsAreLeftOut)
{
    ObjRun r;
    ASSERT_TRUE(r.load(std::string(QUAD) + "vn 0 0 1\nf 1//1 2//1 3//1\nf 1//1 2//1\nf 1//1 2//1 3//1 4//1\n"));
    EXPECT_NE(r.warn.str().find("Malformed face. 2 vertices in face. Aborting triangulation\n"), std::string::npos);
    EXPECT_NE(r.warn.str().find("# warning: 2 faces are not triangles and are left out\n"), std::string::npos);
    EXPECT_EQ(r.mesh.triangle_count(), 1u);
    EXPECT_TRUE(r.mesh.has(MT_POLYGONS));  // the loader's byte goes to the mesh as it stands

    // Without normals the polygon reaches the normal generation, which
    // cannot work on it.
    ObjRun s;
    EXPECT_FALSE(s.load(std::string(QUAD) + "f 1 2\n"));
    EXPECT_EQ(s.error, "Malformed polygon in cObjLoader::smooth_normals - exiting!");
}

TEST(ObjLoader, UnsupportedAndUnknownTokensAreReported)
{
    ObjRun r;
    ASSERT_TRUE(r.parse("# c\nvp 1\ng x\ns 1\ncurv\ncurv2\nsurf\np 1\nl 1 2\nV 1 2 3\n\n \t\r\n"));
    EXPECT_EQ(r.warn.str(),
              "# warning, \"vp\" in line 2 not supported... skipped!\n"
              "# warning: \"g\" in line 3 not supported... skipped!\n"
              "# warning: \"s\" in line 4 not supported... skipped!\n"
              "# warning: \"curv\" in line 5 not supported... skipped!\n"
              "# warning: \"curv2\" in line 6 not supported... skipped!\n"
              "# warning: \"surf\" in line 7 not supported... skipped!\n"
              "TOK_P\nTOK_L\n"
              "# warning, unknown token: \"V\" in line 10... skipped!\n");
}

TEST(ObjLoader, ALineOver127CharactersEndsTheReading)
{
    ObjRun r;
    std::string ok = "v 1 2 3" + std::string(120, ' ');  // 127 characters
    ASSERT_TRUE(r.parse(ok + "\nv 4 5 6 #" + std::string(119, 'x') + "\nv 7 8 9\n"));
    EXPECT_EQ(r.loader.position_lines(), 1u);
    EXPECT_EQ(r.warn.str(), "# warning: line 2 is longer than 127 characters; the rest of the file is not read\n");
}

TEST(ObjLoader, MaterialLibrariesAreReadFromTheFilesDirectory)
{
    ObjRun r;
    r.files["d/a.mtl"] = "newmtl a\n";
    r.files["d/b.mtl"] = "newmtl b\nnewmtl c\n";
    ASSERT_TRUE(r.parse("mtllib a.mtl missing.mtl b.mtl\n"));
    ASSERT_EQ(r.loader.materials.size(), 3u);
    EXPECT_EQ(r.loader.materials[2].name, "c");
    EXPECT_EQ(r.warn.str(), "## ERROR: Couldn't open d/missing.mtl\n");
}

TEST(ObjLoaderDeathTest, TheShowStopsAtAFileItCannotLoad)
{
    cMeshData mesh;
    EXPECT_EXIT(cObjLoader().load_mesh("/nonexistent/x.obj", mesh, mesh), testing::ExitedWithCode(255),
                "cObjLoader line 56: file was not found in path: /nonexistent/x.obj");
    std::string path = testing::TempDir() + "slash.obj";
    std::ofstream(path) << "vt 0 0\nf 1 2 3\n";
    EXPECT_EXIT(cObjLoader().load_mesh(path, mesh, mesh), testing::ExitedWithCode(255), "missing / in line: 2");
    std::string bad = testing::TempDir() + "bad_polygon.obj";
    std::ofstream(bad) << "v 0 0 0\nf 1\n";
    EXPECT_EXIT(cObjLoader().load_mesh(bad, mesh, mesh), testing::ExitedWithCode(255),
                "Malformed polygon in cObjLoader::smooth_normals - exiting!");
}

TEST(ObjLoader, LoadFilePrintsItsProgressAndReadsNeighbouringLibraries)
{
    std::string dir = testing::TempDir() + "objdir/";
    ASSERT_EQ(std::system(("mkdir -p '" + dir + "'").c_str()), 0);
    std::ofstream(dir + "m.mtl") << TWO_MATERIALS;
    std::ofstream(dir + "x.obj") << "mtllib m.mtl\n" << QUAD << "usemtl one\nf 1 2 3\n";
    std::ostringstream log, warn;
    cObjLoader loader(log, warn);
    cMeshData mesh;
    loader.load_mesh(dir + "x.obj", mesh, mesh);
    EXPECT_EQ(log.str(), "-\ncObjLoader::load_file parsing " + dir + "x.obj ... done reading obj.\n-\n");
    EXPECT_EQ(mesh.materials.size(), 2u);
    EXPECT_EQ(mesh.groups, (std::vector<MaterialGroup>{{0, 1}, {3, NO_MATERIAL}}));
}
