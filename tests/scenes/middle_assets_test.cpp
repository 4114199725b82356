// The baked assets of the middle of the show: the same bytes on every
// bake, meshes within the software renderer's triangle budgets, textures
// with power-of-two sides.
#include <FreeImage.h>
#include <gtest/gtest.h>


#include "mesh_files/bzobj_format.h"
#include "support/baked_data.h"
#include "support/show_run.h"
#include "support/run_tool.h"

namespace {
cMeshObj_data decoded(const std::string& bytes)
{
    iMeshType type;
    cMeshObj_data mesh;
    BzObjError error;
    EXPECT_TRUE(bzobj_decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), type, mesh, error))
        << error.message;
    return mesh;
}
}  // namespace

TEST(MiddleAssets, BakedTheSameEveryTimeAndWithinBudget)
{
    const std::string first = baked_data_dir();
    DataTree again("s00 00:00:00,000\n");
    for (const char* name : {"models/spikeball2.bzobj", "models/blacknwhite_star.bzobj",
                             "models/blacknwhite_spikes.bzobj", "models/spacesphere.bzobj",
                             "textures/spikeball_glow.png", "textures/dodgecircle.jpg",
                             "textures/sphere_horizon_dark.jpg"}) {
        const std::string bytes = read_whole_file(first + "/" + name);
        ASSERT_FALSE(bytes.empty()) << name;
        EXPECT_EQ(bytes, read_whole_file(again.data() + "/" + name)) << name;
    }
    const auto mesh = [&](const char* name) { return decoded(read_whole_file(first + "/models/" + name)).triangle_count(); };
    EXPECT_LE(mesh("spikeball2.bzobj"), 40000u);
    EXPECT_LE(mesh("blacknwhite_star.bzobj") + mesh("blacknwhite_spikes.bzobj"), 40000u);
    EXPECT_LE(mesh("spacesphere.bzobj"), 20000u);
    // The star's facets take four materials, each gathered into one group:
    // drawn sixteen times a frame, a group per facet was thousands of draw
    // calls.
    for (const char* name : {"blacknwhite_star.bzobj", "blacknwhite_spikes.bzobj"}) {
        const cMeshObj_data m = decoded(read_whole_file(first + "/models/" + name));
        EXPECT_LE(m.groups.size(), 5u) << name << ": four materials and the end marker";
        EXPECT_GE(m.groups.size(), 4u) << name;
    }
    for (const char* name : {"spikeball_glow.png", "dodgecircle.jpg", "sphere_horizon_dark.jpg"}) {
        const std::string path = first + "/textures/" + name;
        FIBITMAP* image = FreeImage_Load(FreeImage_GetFileType(path.c_str()), path.c_str());
        ASSERT_NE(image, nullptr) << name;
        const unsigned w = FreeImage_GetWidth(image), h = FreeImage_GetHeight(image);
        EXPECT_TRUE(w && h && !(w & (w - 1)) && !(h & (h - 1))) << name << " " << w << "x" << h;
        FreeImage_Unload(image);
    }
}
