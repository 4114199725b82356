#include "scenes/middle_scene_fixture.h"

#include <unistd.h>

#include <cmath>
#include <string>

#include "post/post.h"
#include "support/baked_data.h"
#include "texture/cResourcePath.h"

namespace {
// The repository's data tree when it has been baked (test.sh bakes it
// first), else a tree baked for this process.
std::string scene_data_dir()
{
    const std::string repo = std::string(WENDIT_SOURCE_DIR) + "/data";
    for (const char* name : {"/models/spikeball2.bzobj", "/models/spacesphere.bzobj", "/textures/fs_vign.jpg",
                             "/textures/sphere_horizon_dark.jpg"})
        if (access((repo + name).c_str(), R_OK) != 0)
            return baked_data_dir();
    return repo;
}
}  // namespace

void MiddleSceneTest::SetUp()
{
    GLTest::SetUp();
    start_shaders();
    get_rendertarget_manager()->demo_time = [] { return 0; };
    cResourcePath* rp = get_resource_path();
    const std::string data = scene_data_dir();
    rp->push_searchpath(data + "/models");
    rp->push_searchpath(data + "/textures");
}

std::vector<Rgba> MiddleSceneTest::render_checked(cScene& scene, eRTT size)
{
    const GLStateSnapshot before = snapshot_gl_state();
    testing::internal::CaptureStderr();
    cTmpRT out = scene.render(clock.demo_time());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << scene.getName();
    EXPECT_EQ(err.find("ERROR"), std::string::npos) << err;
    const GLStateSnapshot after = snapshot_gl_state();
    EXPECT_TRUE(after == before) << scene.getName() << "\nbefore: " << before.describe()
                                 << "\nafter:  " << after.describe();
    if (!out) {
        ADD_FAILURE() << scene.getName() << " handed over no target";
        return {};
    }
    EXPECT_EQ(out.type(), size) << scene.getName();
    return read_target(out.get());
}

PictureStats picture_stats(const std::vector<Rgba>& pixels)
{
    PictureStats s;
    if (pixels.empty())
        return s;
    double sum = 0, sq = 0;
    for (const Rgba& p : pixels) {
        const double l = 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
        sum += l;
        sq += l * l;
        s.black += l < 6;
        s.white += l > 249;
    }
    const double n = double(pixels.size());
    s.mean = sum / n;
    s.spread = std::sqrt(std::max(0.0, sq / n - s.mean * s.mean));
    s.black /= n;
    s.white /= n;
    return s;
}

double picture_difference(const std::vector<Rgba>& a, const std::vector<Rgba>& b)
{
    if (a.size() != b.size() || a.empty())
        return 0;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += std::fabs(0.299 * (a[i].r - b[i].r) + 0.587 * (a[i].g - b[i].g) + 0.114 * (a[i].b - b[i].b));
    return sum / double(a.size());
}

::testing::AssertionResult looks_like_a_picture(const std::vector<Rgba>& pixels)
{
    const PictureStats s = picture_stats(pixels);
    if (s.spread > 12 && s.black < 0.97 && s.white < 0.97)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "mean " << s.mean << ", spread " << s.spread << ", black " << s.black
                                         << ", white " << s.white;
}
