#include "runtime/cScene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <limits>

#include "gui/cGuiVarList.h"
#include "shader_runtime/shader_runtime.h"
#include "post/post.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "util/engine_files.h"
#include "shaders/cShaderManager_CG.h"
#include "texture/cTextureManager.h"
#include "tweak/iVar.h"

cScene::~cScene()
{
    for (cInterpolator* i : interpolators)
        delete i;
    interpolators.clear();
}

void cScene::remember_initial_values()
{
    // Kept by the address of the value, not by the variable: a note's
    // interpolator wraps its value in a variable of its own, which goes when
    // the scene drops the interpolator, and several of them share one value.
    for (cInterpolator* i : interpolators) {
        iVar* v = i->target;
        if (!v)
            continue;
        void* value = v->getPointer();
        if (std::any_of(m_initialValues.begin(), m_initialValues.end(),
                        [value](const InitialValue& r) { return r.value == value; }))
            continue;
        if (dynamic_cast<cVar<float>*>(v))
            m_initialValues.push_back({value, false, *static_cast<float*>(value), 0});
        else if (dynamic_cast<cVar<int>*>(v))
            m_initialValues.push_back({value, true, 0.f, *static_cast<int*>(value)});
    }
}

std::vector<cInterpolator*> cScene::windows_ended_between(int from, int to) const
{
    std::vector<cInterpolator*> ended;
    for (cInterpolator* i : interpolators)
        if (from <= i->end && i->end < to)
            ended.push_back(i);
    std::stable_sort(ended.begin(), ended.end(),
                     [](const cInterpolator* a, const cInterpolator* b) { return a->end < b->end; });
    return ended;
}

void cScene::apply_ends(const std::vector<cInterpolator*>& ended)
{
    for (cInterpolator* i : ended) {
        int end = i->end;
        i->apply(&end);
    }
}

void cScene::catch_up_interpolators(int t)
{
    remember_initial_values();
    for (const InitialValue& r : m_initialValues) {
        if (r.isInt)
            *static_cast<int*>(r.value) = r.i;
        else
            *static_cast<float*>(r.value) = r.f;
    }
    apply_ends(windows_ended_between(std::numeric_limits<int>::min(), t));
}

namespace {
// Whether a window that ended after i on the same value comes later in
// `ended` (sorted by end): then i's last word has been overtaken.
bool overtaken(const cInterpolator* i, const std::vector<cInterpolator*>& ended)
{
    const auto at = std::find(ended.begin(), ended.end(), i);
    if (at == ended.end() || !i->target)
        return false;
    void* value = i->target->getPointer();
    return std::any_of(at + 1, ended.end(),
                       [value](const cInterpolator* j) { return j->target && j->target->getPointer() == value; });
}
}  // namespace

void cScene::update_interpolators()
{
    // A jump (the start jump, a seek, the scrub) or a first run at any time:
    // windows already past are settled at once, and nothing applied before
    // the jump gets its trailing application.
    const int jumps = clock ? clock->jumps : 0;
    const bool jumped = !m_interpolatorsRan || jumps != m_seenJumps;
    m_seenJumps = jumps;
    const int now = demo_time();
    // Played on: the windows that closed since the previous run, also those
    // that opened and closed between two frames of a slow renderer, leave
    // their end values in the order they closed, as they would have at any
    // frame rate. A jump settles every window that closed before now.
    std::vector<cInterpolator*> ended;
    if (jumped) {
        catch_up_interpolators(now);
    } else {
        ended = windows_ended_between(lastUpdate, now);
        apply_ends(ended);
    }
    for (cInterpolator* i : interpolators) {
        // The clock is read again for every interpolator.
        int t = demo_time();
        if (i->isActive(&t)) {
            i->apply(&t);
            i->lastApplied = demo_time();
        } else if (!jumped && i->lastApplied == lastUpdate && !overtaken(i, ended)) {
            // Applied in the previous run and now out of its window: one
            // more application, in list order, writes the exact end (or
            // start) value, unless a later window on the same value closed
            // since.
            i->apply(&t);
        }
    }
    lastUpdate = demo_time();
    m_interpolatorsRan = true;
}

void cScene::drop_played_pulses(std::vector<cInterpolator*>& pulses, int now, int holdMs)
{
    for (auto it = pulses.begin(); it != pulses.end();) {
        cInterpolator* i = *it;
        if ((i->end + holdMs < now && i->end < lastUpdate) || i->start > now) {
            interpolators.erase(std::remove(interpolators.begin(), interpolators.end(), i), interpolators.end());
            delete i;
            it = pulses.erase(it);
        } else {
            ++it;
        }
    }
}

namespace {
// The checker over the whole bound target, one texel per pixel.
void draw_checker(const iRenderTarget* target)
{
    const cTexture checker = get_texture_manager()->get_texture(engine_files::SCENE_BACKDROP, false, GL_REPEAT, 0);
    const bool rect = checker.target == GL_TEXTURE_RECTANGLE_ARB;
    const float u = rect ? float(target->width) : float(target->width) / float(checker.width);
    const float v = rect ? float(target->height) : float(target->height) / float(checker.height);
    cPassState quad(flat_2d());
    glColor4f(1.f, 1.f, 1.f, 1.f);
    glEnable(checker.target);
    glBindTexture(checker.target, checker.id);
    draw_quad_rect(u, v);
    glBindTexture(checker.target, 0);
    glDisable(checker.target);
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
    for (const cSceneVar& v : getVars())
        if (v.var && v.var->getName() == name)
            return v.var;
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
