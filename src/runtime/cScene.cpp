#include "runtime/cScene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "gui/cGuiVarList.h"
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
