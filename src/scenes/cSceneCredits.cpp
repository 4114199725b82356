#include "scenes/cSceneCredits.h"

#include <GL/gl.h>

#include "render/quad.h"
#include "scenes/ink_images.h"
#include "scenes/show_assets.h"
#include "shaders/cShaderManager_CG.h"
#include "util/random_table.h"

void cSceneCredits::init()
{
    prepare_ink_images(std::string(show_assets::FROM_BIN) + show_assets::CREDITS_DIR);
    background = load_ink_image(show_assets::CREDITS_PAGE);
    firstGroup = load_ink_series(show_assets::FIRST_PORTRAITS);
    secondGroup = load_ink_series(show_assets::SECOND_PORTRAITS);
}

bool cSceneCredits::update()
{
    update_interpolators();
    if (next_random() > 0.95f)
        firstIndex = (firstIndex + 1) % 15;
    if (next_random() > 0.95f)
        secondIndex = (secondIndex + 1) % 15;
    return false;
}

namespace {
// Five shaky copies of one portrait around (x, y).
void print_portrait(const cTexture& image, float x, float y)
{
    for (int copy = 0; copy < 5; ++copy) {
        float r[5];
        for (float& v : r)
            v = next_random();
        draw_ink_image(image, x + 0.01f * r[2] * (2.f * r[1] - 1.f) + 0.25f * ink_jump(r[3]),
                       y + 0.01f * r[2] * (2.f * r[0] - 1.f) + 0.25f * ink_jump(r[4]));
    }
}
}  // namespace

cTmpRT cSceneCredits::render(int)
{
    cTmpRT page = get_flat_rt(RTT_FULL);
    glClearColor(1.f, 1.f, 1.f, 1.f);
    page->bind(true);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    get_shader_manager()->unbind();
    if (background.loaded())
        draw_texture(background);
    if (!firstGroup.empty() && !secondGroup.empty()) {
        cInkPrint print;
        glColor4f(0.6f, 0.6f, 0.6f, 1.f);
        print_portrait(firstGroup[size_t(firstIndex) % firstGroup.size()], 0.f, 0.45f);
        print_portrait(secondGroup[size_t(secondIndex) % secondGroup.size()], 0.30f, 0.f);
    }
    glDepthMask(GL_TRUE);
    page->unbind();
    glClearColor(0.f, 0.f, 0.f, 0.f);
    return page;
}
