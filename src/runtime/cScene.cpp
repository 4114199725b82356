#include "runtime/cScene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "gui/cGuiVarList.h"
#include "platform/shader_runtime.h"
#include "post/post.h"
#include "render/quad.h"
#include "shaders/cShaderManager_CG.h"
#include "texture/cTextureManager.h"
#include "tweak/iVar.h"

cScene::~cScene()
{
    for (cInterpolator* i : interpolators)
        delete i;
    interpolators.clear();
}

void cScene::update_interpolators()
{
    for (cInterpolator* i : interpolators) {
        // The clock is read again for every interpolator.
        int t = demo_time();
        if (i->isActive(&t)) {
            i->apply(&t);
            i->lastApplied = demo_time();
        } else if (m_interpolatorsRan && i->lastApplied == lastUpdate) {
            // Applied in the previous run and now out of its window: one
            // more application writes the exact end (or start) value. Before
            // the first run nothing was applied, whatever the initial marks
            // say, so a window in the future does not write early.
            i->apply(&t);
        }
    }
    lastUpdate = demo_time();
    m_interpolatorsRan = true;
}

namespace {
// The checker over the whole bound target, one texel per pixel.
void draw_checker(const iRenderTarget* target)
{
    const cTexture checker = get_texture_manager()->get_texture("checker.jpg", false, GL_REPEAT, 0);
    const bool rect = checker.target == GL_TEXTURE_RECTANGLE_ARB;
    const float u = rect ? float(target->width) : float(target->width) / float(checker.width);
    const float v = rect ? float(target->height) : float(target->height) / float(checker.height);
    begin_2d();
    glColor4f(1.f, 1.f, 1.f, 1.f);
    glEnable(checker.target);
    glBindTexture(checker.target, checker.id);
    draw_quad_rect(u, v);
    glBindTexture(checker.target, 0);
    glDisable(checker.target);
    end_2d();
}
}  // namespace

void cScene::draw()
{
    // The scene renders with the shader stages switched off, as they were
    // found otherwise.
    const bool vertexOn = shrt::profile_enabled(shrt::CG_PROFILE_ARBVP1);
    const bool fragmentOn = shrt::profile_enabled(shrt::CG_PROFILE_ARBFP1);
    shrt::disable_profile(shrt::CG_PROFILE_ARBVP1);
    shrt::disable_profile(shrt::CG_PROFILE_ARBFP1);
    glPushAttrib(GL_ENABLE_BIT);
    cTmpRT scene = render(demo_time());
    glPopAttrib();
    if (vertexOn)
        shrt::enable_profile(shrt::CG_PROFILE_ARBVP1);
    if (fragmentOn)
        shrt::enable_profile(shrt::CG_PROFILE_ARBFP1);

    cTmpRT output = get_tmp_rt(RTT_FULL);
    cTmpRT background = get_tmp_rt(RTT_FULL);
    glClearColor(0.1f, 0.1f, 0.1f, 0.f);
    background->bind(true);
    draw_checker(background.get());
    background->unbind();
    glDisable(GL_BLEND);
    if (!scene) {
        // A scene that cannot render off screen: the background alone.
        draw_target(background.get());
        return;
    }
    comp(output.get(), scene.get(), background.get(), COMP_OVER, 1.f);
    glDisable(GL_BLEND);
    draw_target(output.get());
}

iVar* cScene::find_var(const std::string& name)
{
    for (const auto& row : getGuiNodes())
        if (row.first && row.first->getName() == name)
            return row.first;
    return nullptr;
}

void cScene::apply_camera() const
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(camera.fov, camera.aspect, camera.znear, camera.zfar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotated(camera.roll, 0.0, 0.0, -1.0);
    gluLookAt(camera.eye[0], camera.eye[1], camera.eye[2], camera.centre[0], camera.centre[1], camera.centre[2],
              camera.up[0], camera.up[1], camera.up[2]);
}

void add_camera_gui(cGuiVarList& list, cSceneCamera& camera, float lo, float hi)
{
    static_assert(sizeof(Vec3<float>) == 3 * sizeof(float), "a Vec3 is three floats");
    list.addVec3("set_eye", reinterpret_cast<Vec3<float>*>(camera.eye), lo, hi);
    list.addVec3("set_ctr", reinterpret_cast<Vec3<float>*>(camera.centre), lo, hi);
    list.addFloat("set_fov", &camera.fov, 10.f, 160.f);
    list.addDouble("set_roll", &camera.roll, -360.f, 360.f);
}
