// The mandala cube's baked assets: the same bytes on every bake, textures
// with power-of-two sides, and a triangle budget the software renderer
// can draw every frame.
#include <FreeImage.h>
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assets/kaleido_planes.h"
#include "assets/mandala_cube.h"
#include "mesh_files/bzobj_format.h"
#include "support/run_tool.h"
#include "support/shader_setup.h"

namespace {
std::vector<std::string> files(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.' && e->d_type == DT_REG)
                names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}
}  // namespace

TEST(MandalaAssets, BakeTwiceGivesTheSameBytesWithinTheBudget)
{
    TempDir a, b;
    for (const TempDir* t : {&a, &b})
        ASSERT_TRUE(bake_mandala_cube(t->path) && bake_kaleido_planes(t->path));
    size_t triangles = 0;
    for (const std::string sub : {"/models/mandala_cube", "/models/mandala_cube/tex_gray", "/models/kaleido2d"}) {
        const std::vector<std::string> names = files(a.path + sub);
        EXPECT_EQ(names, files(b.path + sub));
        for (const std::string& n : names) {
            const std::string first = read_whole_file(a.path + sub + "/" + n);
            EXPECT_EQ(first, read_whole_file(b.path + sub + "/" + n)) << n;
            if (n.find(".png") != std::string::npos) {
                FIBITMAP* image = FreeImage_Load(FIF_PNG, (a.path + sub + "/" + n).c_str(), 0);
                ASSERT_NE(image, nullptr) << n;
                const unsigned w = FreeImage_GetWidth(image), h = FreeImage_GetHeight(image);
                EXPECT_TRUE(w && !(w & (w - 1)) && h && !(h & (h - 1))) << n << " " << w << "x" << h;
                EXPECT_EQ(FreeImage_GetBPP(image), 24u) << n;
                FreeImage_Unload(image);
            }
            cMeshData mesh;
            BzObjError error;
            if (n.find("_out.") == std::string::npos && n.find(".bzobj") != std::string::npos &&
                sub == "/models/mandala_cube") {
                ASSERT_TRUE(bzobj_decode(reinterpret_cast<const uint8_t*>(first.data()), first.size(), mesh, mesh,
                                         error))
                    << n << ": " << error.message;
                triangles += mesh.triangle_count();
            }
        }
        if (sub == "/models/kaleido2d") {
            EXPECT_EQ(names.size(), 7u);
        } else if (sub == "/models/mandala_cube") {
            EXPECT_EQ(names.size(), 17u) << "the wall and eight pairs";
        }
    }
    EXPECT_LT(triangles * 6, 150000u) << "six faces of the wall and the eight layers";
    EXPECT_GT(triangles * 6, 30000u) << "detail enough for the kaleidoscope";
}
