// The material-library reader.
#include <gtest/gtest.h>

#include <sstream>

#include "mesh_files/obj/cMtlLoader.h"

namespace {
std::vector<cMaterial> parse(const std::string& text, std::string* warnings = nullptr)
{
    std::ostringstream warn;
    std::vector<cMaterial> m = {cMaterial("stale")};
    cMtlLoader::parse(m, text.data(), text.size(), "lib.mtl", warn);
    if (warnings)
        *warnings = warn.str();
    return m;
}
}  // namespace

TEST(MtlLoader, ReadsEveryKeyIntoTheLastMaterial)
{
    std::string warn;
    auto m = parse("# lib\nnewmtl plain\nnewmtl x\nKa 0.1 0.2 0.3\nKd 1 0.5 0.25 9\nKs 1 1 1\nNs 20\nillum 2\n"
                   "Tr 0.5\nTf 0.2 0.4 0.6\nNi 1.5\nmap_Ka a.png\nmap_Kd kd.png\nmap_Ks s.png\nbump b.png\n"
                   "map_d d.png\n",
                   &warn);
    EXPECT_EQ(warn, "");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0], cMaterial("plain"));  // defaults: black, d and Ni 1
    EXPECT_EQ(m[0].d, 1.0f);
    EXPECT_EQ(m[0].Ni, 1.0f);
    const cMaterial& x = m[1];
    EXPECT_EQ(x.name, "x");
    EXPECT_EQ(std::vector<float>(x.Ka, x.Ka + 4), (std::vector<float>{0.1f, 0.2f, 0.3f, 0}));
    EXPECT_EQ(std::vector<float>(x.Kd, x.Kd + 4), (std::vector<float>{1, 0.5f, 0.25f, 0}));
    EXPECT_EQ(std::vector<float>(x.Ks, x.Ks + 4), (std::vector<float>{1, 1, 1, 0}));
    EXPECT_EQ(x.Ns, 20.0f);
    EXPECT_EQ(x.illum, 2);
    EXPECT_FLOAT_EQ(x.d, 0.4f);
    EXPECT_EQ(x.Ni, 1.5f);
    EXPECT_EQ(x.map_Ka, "a.png");
    EXPECT_EQ(x.map_Kd, "kd.png");
    EXPECT_EQ(x.map_Ks, "s.png");
    EXPECT_EQ(x.bump, "b.png");
    EXPECT_EQ(x.map_d, "d.png");
}

TEST(MtlLoader, TheLaterOfTfAndDWins)
{
    EXPECT_FLOAT_EQ(parse("newmtl a\nTf 0.2 0.4 0.6\nd 0.9\n")[0].d, 0.9f);
    EXPECT_FLOAT_EQ(parse("newmtl a\nd 0.9\nTf 0.2 0.4 0.6\n")[0].d, 0.4f);
}

TEST(MtlLoader, TwoMaterialsOfOneNameAreKeptApart)
{
    auto m = parse("newmtl a\nKd 1 0 0\nnewmtl a\nKd 0 1 0\n");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].Kd[0], 1.0f);
    EXPECT_EQ(m[1].Kd[1], 1.0f);
}

TEST(MtlLoader, UnknownTokensAreReportedAndSkipped)
{
    std::string warn;
    auto m = parse("newmtl a\nKe 1 1 1\nKd 0 0 1\n", &warn);
    EXPECT_EQ(warn,
              "# warning: unknown token \"Ke\"\n"
              "# warning: unknown token encountered in \"lib.mtl\" line 2. Skipping...\n");
    EXPECT_EQ(m[0].Kd[2], 1.0f);
}

TEST(MtlLoader, APropertyBeforeAnyMaterialAbandonsTheFile)
{
    std::string warn;
    auto m = parse("# x\n\nKd 1 1 1\nnewmtl a\n", &warn);
    EXPECT_TRUE(m.empty());
    EXPECT_EQ(warn,
              "## ERROR in ..\\src\\mesh_files\\obj\\cMtlLoader line 28: no 'newmtl' entry was found previous to "
              "line 3. Failed to load .mtl-file!!\n");
}

TEST(MtlLoader, LinesShortOfTheirValuesAreReportedAndSkipped)
{
    std::string warn;
    auto m = parse("newmtl\nnewmtl a\nKd 0.5 0.5\nKa\nKs 1\nTf 1 1\nNs\nillum\nd\nNi\nmap_Kd\nbump\nKd 1 1 1\n", &warn);
    ASSERT_EQ(m.size(), 1u);
    cMaterial expected("a");
    expected.Kd[0] = expected.Kd[1] = expected.Kd[2] = 1;
    EXPECT_EQ(m[0], expected);
    EXPECT_EQ(warn,
              "## WARNING: \"lib.mtl\" line 1: newmtl needs a name. Skipping...\n"
              "## WARNING: \"lib.mtl\" line 3: Kd needs three values. Skipping...\n"
              "## WARNING: \"lib.mtl\" line 4: Ka needs three values. Skipping...\n"
              "## WARNING: \"lib.mtl\" line 5: Ks needs three values. Skipping...\n"
              "## WARNING: \"lib.mtl\" line 6: Tf needs three values. Skipping...\n"
              "## WARNING: \"lib.mtl\" line 7: Ns needs a value. Skipping...\n"
              "## WARNING: \"lib.mtl\" line 8: illum needs a value. Skipping...\n"
              "## WARNING: \"lib.mtl\" line 9: d needs a value. Skipping...\n"
              "## WARNING: \"lib.mtl\" line 10: Ni needs a value. Skipping...\n"
              "## WARNING: \"lib.mtl\" line 11: map_Kd needs a name. Skipping...\n"
              "## WARNING: \"lib.mtl\" line 12: bump needs a name. Skipping...\n");
}

TEST(MtlLoader, ALineOver511CharactersEndsTheReading)
{
    auto m = parse("newmtl a\n#" + std::string(510, 'x') + "\nnewmtl b\n#" + std::string(511, 'x') + "\nnewmtl c\n");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[1].name, "b");
}

TEST(MtlLoader, AFileThatCannotBeOpenedGivesNoMaterials)
{
    std::ostringstream warn;
    std::vector<cMaterial> m = {cMaterial("stale")};
    cMtlLoader::load(m, "/nonexistent/lib.mtl", warn);
    EXPECT_TRUE(m.empty());
    EXPECT_EQ(warn.str(), "## ERROR: Couldn't open /nonexistent/lib.mtl\n");
}
