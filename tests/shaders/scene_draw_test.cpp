// The scene base draw: the scene's picture over a grey checker on screen.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "render/cRenderTargetManager.h"
#include "runtime/cScene.h"
#include <FreeImage.h>

#include "texture/cResourcePath.h"
#include "support/shader_setup.h"

namespace {
// A 64x64 checker of 8-pixel squares in two greys, under the show's name.
void write_checker(const TempDir& dir)
{
    FIBITMAP* image = FreeImage_Allocate(64, 64, 24);
    for (unsigned y = 0; y < 64; ++y) {
        BYTE* row = FreeImage_GetScanLine(image, int(y));
        for (unsigned x = 0; x < 64; ++x) {
            const BYTE v = ((x / 8 + y / 8) % 2) ? 180 : 90;
            row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = v;
        }
    }
    FreeImage_Save(FIF_PNG, image, (dir.path + "/checker.jpg").c_str(), 0);
    FreeImage_Unload(image);
}

// Renders a red square in the middle of an otherwise transparent target.
class cSquareScene : public cScene {
public:
    explicit cSquareScene(bool offscreen) : cScene(nullptr), offscreen(offscreen) {}
    std::string getName() override { return "square"; }
    void init() override {}
    void restart() override {}
    void reservedHook() override {}
    void handleEvent(cEvent*) override {}
    bool update() override { return false; }
    void fillGui(cGuiVarList&) override {}
    cTmpRT render(int) override
    {
        if (!offscreen)
            return cTmpRT();
        cTmpRT t = get_tmp_rt(RTT_FULL);
        fill_target(t.get(), {0, 0, 0, 0});
        paint_rect(t.get(), 540, 260, 740, 460, {255, 0, 0, 255});
        return t;
    }
    bool offscreen;
};
}  // namespace

TEST_F(GLTest, SceneBaseDrawShowsThePictureOverTheChecker)
{
    start_shaders();
    TempDir textures;
    write_checker(textures);
    get_resource_path()->push_searchpath(textures.path);
    testing::internal::CaptureStderr();
    for (bool offscreen : {true, false}) {
        cSquareScene scene(offscreen);
        glClearColor(0.f, 0.f, 1.f, 1.f);
        glClear(GL_COLOR_BUFFER_BIT);
        scene.draw();
        const Rgba middle = read_pixel(640, 360);
        if (offscreen) {
            EXPECT_TRUE(near_rgba(middle, {255, 0, 0, 255}, 1));
        }
        // Elsewhere the checker, one texel per pixel: 8-pixel squares.
        for (int x = 4; x < 200; x += 8) {
            const int want = ((x / 8 + 40 / 8) % 2) ? 180 : 90;
            ASSERT_TRUE(near_rgba(read_pixel(x, 40), {want, want, want, 255}, 1)) << x;
        }
        EXPECT_EQ(get_rendertarget_manager()->in_use(), 0u);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("## ERROR"), std::string::npos);
}
