// `wendit check`: a good tree passes; a tree with many faults gets every
// one of them named in a single run. Meshes and morph pairs through the
// checker itself, with a list of their own.
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "check/data_tree_check.h"
#include "support/run_tool.h"
#include "support/show_run.h"
#include "support/shader_setup.h"

namespace {
bool has_line(const std::string& out, const std::string& line)
{
    return ("\n" + out).find("\n" + line + "\n") != std::string::npos;
}
}  // namespace

TEST(WenditCheck, AGoodTreePassesAndEveryFaultOfABrokenOneIsListed)
{
    DataTree tree("s00 00:00:00,000\nquit 00:01:00,000\n");
    // Shader sources are looked for beside the data directory, where the
    // tree links the repository's.
    const std::string check = "./wendit check '" + tree.data() + "'";
    ToolRun good = run_tool(check);
    EXPECT_EQ(good.exitCode, 0) << good.out << good.err;
    EXPECT_NE(good.out.find("files the show loads are in order"), std::string::npos) << good.out;

    const std::string mp3 = read_whole_file(tree.data() + "/music/GLOAM2.mp3");
    tree.write("data/script/markers.txt", "s01 00:00:01,000\nbeats\x1b[1m 00:00:02,000\n");
    tree.write("data/music/GLOAM2.mid", "MThd but nothing else");
    tree.write("data/textures/fontlist.png", "text, not a picture");
    tree.remove("data/textures/loadscreen.jpg");
    FIBITMAP* grey = FreeImage_Allocate(16, 16, 8);
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, grey, (tree.data() + "/textures/checker.jpg").c_str(), 0));
    FreeImage_Unload(grey);
    ToolRun bad = run_tool(check);
    EXPECT_EQ(bad.exitCode, 1);
    const std::string& o = bad.out;
    EXPECT_TRUE(has_line(o, "wendit check: script/markers.txt: "
                            "# warning, line 2: unknown token beats\\x1B[1m in cEventQueue_factory::eventtoken_parse"))
        << o;
    EXPECT_TRUE(has_line(o, "wendit check: script/markers.txt: no s00 marker: the show has no start")) << o;
    EXPECT_TRUE(has_line(o, "wendit check: script/markers.txt: no quit marker: the show never ends")) << o;
    EXPECT_NE(o.find("wendit check: music/GLOAM2.mid: not a MIDI file the show reads: "), std::string::npos) << o;
    EXPECT_TRUE(has_line(o, "wendit check: textures/loadscreen.jpg: missing")) << o;
    EXPECT_TRUE(has_line(o, "wendit check: textures/fontlist.png: does not decode as an image")) << o;
    EXPECT_TRUE(has_line(o, "wendit check: textures/checker.jpg: is 8 bits per pixel, the show takes 24 or 32")) << o;
    EXPECT_NE(o.find(": 7 problems in "), std::string::npos) << o;

    // Music cut short against a script that ends at a minute.
    tree.write("data/script/markers.txt", "s00 00:00:00,000\nquit 00:01:00,000\n");
    tree.write("data/music/GLOAM2.mp3", mp3.substr(0, mp3.size() / 3));
    ToolRun shortMusic = run_tool(check);
    EXPECT_NE(shortMusic.out.find("wendit check: music/GLOAM2.mp3: is "), std::string::npos) << shortMusic.out;
    EXPECT_NE(shortMusic.out.find(" ms long, shorter than the quit marker at 60000 ms\n"), std::string::npos)
        << shortMusic.out;
}

TEST(DataTreeCheck, MeshesLoadAndMorphPairsMatch)
{
    TempDir dir;
    dir.write("tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    dir.write("tri2.obj", "v 0 0 1\nv 1 0 1\nv 0 1 1\nf 1 2 3\n");
    dir.write("quad.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n");
    dir.write("broken.bzobj", "not a compressed mesh");
    const cCheckReport r = check_data_tree(dir.path, {
                                                         {"a", eAssetKind::mesh, "tri.obj"},
                                                         {"b", eAssetKind::mesh, "gone.obj"},
                                                         {"c", eAssetKind::mesh, "broken.bzobj"},
                                                         {"d", eAssetKind::morph_pair, "tri.obj", "tri2.obj"},
                                                         {"e", eAssetKind::morph_pair, "tri.obj", "quad.obj"},
                                                     });
    ASSERT_EQ(r.problems.size(), 3u);
    EXPECT_EQ(r.problems[0], "gone.obj: missing");
    EXPECT_EQ(r.problems[1].rfind("broken.bzobj: does not load as a mesh", 0), 0u) << r.problems[1];
    EXPECT_EQ(r.problems[2], "tri.obj: morph pair with quad.obj does not match: 3 vs 4 vertices");
}

// Images go through the texture manager's own decode step: what it refuses
// the check refuses, with the decoder's words about a damaged file.
TEST(DataTreeCheck, ImagesAreCheckedAsTheTextureManagerLoadsThem)
{
    TempDir dir;
    auto save = [&](const char* name, int bpp) {
        FIBITMAP* b = FreeImage_Allocate(64, 64, bpp);
        ASSERT_TRUE(FreeImage_Save(FIF_PNG, b, (dir.path + "/" + name).c_str(), 0));
        FreeImage_Unload(b);
    };
    save("good.png", 24);
    save("grey.png", 8);
    save("cut.png", 24);
    const std::string whole = read_whole_file(dir.path + "/cut.png");
    dir.write("cut.png", whole.substr(0, whole.size() / 2));
    const cCheckReport r = check_data_tree(dir.path, {
                                                         {"a", eAssetKind::image, "good.png"},
                                                         {"b", eAssetKind::image, "grey.png"},
                                                         {"c", eAssetKind::image, "cut.png"},
                                                     });
    ASSERT_EQ(r.problems.size(), 2u);
    EXPECT_EQ(r.problems[0], "grey.png: is 8 bits per pixel, the show takes 24 or 32");
    EXPECT_EQ(r.problems[1].rfind("cut.png: does not decode as an image (PNG: ", 0), 0u) << r.problems[1];
}
