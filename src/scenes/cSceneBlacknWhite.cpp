#include "scenes/cSceneBlacknWhite.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>

#include "gui/cGuiVarList.h"
#include "mesh_files/cMeshManager.h"
#include "mesh_files/iMesh.h"
#include "platform/WindowConfig.h"
#include "post/post.h"
#include "render/pass_state.h"
#include "runtime/cSceneManager.h"
#include "scenes/show_assets.h"
#include "shaders/cShaderManager_CG.h"
#include "timeline/iMidiEvent.h"
#include "util/random_table.h"

namespace {
float clamp01(float x)
{
    return std::min(std::max(x, 0.f), 1.f);
}
float lerp(float a, float b, float x)
{
    return a + (b - a) * x;
}
// Pulses end this long after their window before they leave the list.
constexpr int PULSE_MS = 250;
}  // namespace

cSceneBlacknWhite::cSceneBlacknWhite(DemoClock* clock)
    : cScene(clock),
      m_curVar("cur_t", &cur_t),
      m_noiseVar("noise_t", &noise_t),
      m_camdistVar("camdist", &camdist),
      m_noblinkVar("force_noblink", &force_noblink),
      m_brightVar("force_bright", &force_bright),
      m_thresholdVar("threshold", &noise.threshold)
{
    const WindowConfig* w = window_config();
    blur = {float(w->renderWidth / 4 / 2), float(w->renderHeight / 4 / 2), 100.f, 25.f, 1.f, 0.85f, RTT_QUATER};
    noise = {{1.f, 1.f, 1.f, 1.f}, {1.f, 1.f, 1.f, 1.f}, -1.f, -1.f, {1.f, 1.f, 1.f, 1.f}, 0.f, RTT_QUATER};
}

void cSceneBlacknWhite::init()
{
    spikes = cMeshManager::instance()->requireMesh(show_assets::STAR_SPIKES, false, "cSceneBlacknWhite::init");
    star = cMeshManager::instance()->requireMesh(show_assets::STAR, false, "cSceneBlacknWhite::init");
    camera.eye[0] = 257.51f, camera.eye[1] = 67.06f, camera.eye[2] = 81.55f;
    camera.centre[0] = camera.centre[1] = camera.centre[2] = 0.f;
    camera.znear = 10.f;
    camera.zfar = 2500.f;
    camera.fov = 25.f;
    blur.dist = 200.f;
    blur.num_samples = 30.f;
    blur.propagation = 0.85f;
    blur.multiplier = 1.f;
    hitWindow = cEventWindow(25.f, 150.f, 2);
    kickWindow = cEventWindow(15.f, 75.f, 3);
    for (int i = 0; i < 4; ++i)
        noise.scales[i] = 0.f;
    ensure_post_shaders();
    ensure_comp_shaders();
}

void cSceneBlacknWhite::follow_path()
{
    const float c = clamp01(cur_t);
    const float s = c * c * (3.f - 2.f * c);
    const float d = (1.f - c) * camdist + c;
    camera.eye[0] = lerp(-1000.f * d, -3.3f, s);
    camera.eye[1] = lerp(169.53f * d, -184.43f, s);
    camera.eye[2] = lerp(528.66f * d, 891.94f, s);
    camera.centre[0] = lerp(-1000.f, 6.f, c);
    camera.centre[1] = lerp(178.84f, 234.73f, c);
    camera.centre[2] = -1000.f * c;
    starPos[0] = lerp(-1000.f, -175.2f, c);
    starPos[1] = lerp(197.47f, 34.06f, c);
    starPos[2] = -39.54f;
    mirror = 2;
    blur.num_samples = lerp(16.f, 28.f, c);
}

bool cSceneBlacknWhite::update()
{
    update_interpolators();
    if (pathEnable >= 0.5f)
        follow_path();
    cEventQueue* q = queue ? queue : cSceneManager::get()->event_queue();
    const int t = demo_time();
    const float a = q ? hitWindow.envelope_at(t, *q) : 0.f;
    const float b = q ? kickWindow.envelope_at(t, *q) : 0.f;
    float p = clamp01(1.f - 0.2f * b - 0.7f * a);
    // Weighted as (1 - f) p + f v, so that a full force gives exactly v.
    const float noblink = clamp01(force_noblink), forced = clamp01(force_bright);
    p = (1.f - noblink) * p + noblink * 1.f;
    p = (1.f - forced) * p + forced * 0.3f;
    blur.propagation = p;

    // Finished pulses leave the list, so that it does not grow with every
    // percussion note of the show.
    drop_played_pulses(m_pulses, t, PULSE_MS);
    return false;
}

void cSceneBlacknWhite::handleEvent(cEvent* e)
{
    if (force_noblink != 0.f)
        return;
    auto* note = dynamic_cast<cMETrigger*>(e);
    if (!note || note->kind != iMidiEvent::KIND_NOTE_ON || note->track != 5)
        return;
    if (note->data1 != 36 && note->data1 != 42 && note->data1 != 48 && note->data1 != 54)
        return;
    auto* lerp = new cLerp<float>(&m_pulseVar, note->time, note->time + PULSE_MS, 1.f, 0.f);
    interpolators.push_back(lerp);
    m_pulses.push_back(lerp);
}

void cSceneBlacknWhite::object_matrix(float t, float m[16]) const
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(starPos[0], starPos[1], starPos[2]);
    glRotatef(30.f * t, 0.3f * std::sin(t), 1.f, 0.3f * std::cos(t));
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glPopMatrix();
}

void cSceneBlacknWhite::mirror_draw(iMesh* mesh, const float m[16]) const
{
    if (!mesh)
        return;
    if (shader_manager_exists())
        get_shader_manager()->unbind();
    glEnable(GL_NORMALIZE);
    const double a = 247.5 * M_PI / 180.0;
    const double nx = std::cos(a), ny = std::sin(a);
    const GLdouble upper[4] = {0, 1, 0, 0}, wedge[4] = {nx, ny, 0, 0};
    const GLdouble lower[4] = {0, -1, 0, 0}, mirrored[4] = {nx, -ny, 0, 0};
    auto draw_mesh = [&] {
        glPushMatrix();
        glMultMatrixf(m);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glDisable(GL_COLOR_MATERIAL);
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);
        mesh->draw();
        glPopMatrix();
    };
    for (int i = 0; i < 8; ++i) {
        glPushMatrix();
        glRotatef(float(i) * 45.f, 0.f, 0.f, 1.f);
        glPushAttrib(GL_LIGHTING_BIT | GL_ENABLE_BIT | GL_POLYGON_BIT | GL_TRANSFORM_BIT);
        glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);

        glClipPlane(GL_CLIP_PLANE0, upper);
        glClipPlane(GL_CLIP_PLANE1, wedge);
        glEnable(GL_CLIP_PLANE0);
        glEnable(GL_CLIP_PLANE1);
        draw_mesh();

        glClipPlane(GL_CLIP_PLANE0, lower);
        glClipPlane(GL_CLIP_PLANE1, mirrored);
        glPushMatrix();
        glScalef(1.f, -1.f, 1.f);
        glFrontFace(GL_CW);
        draw_mesh();
        glFrontFace(GL_CCW);
        glPopMatrix();

        glPopAttrib();
        glPopMatrix();
    }
}

cSineNoiseParams cSceneBlacknWhite::distortion(float t, float w) const
{
    const float n = clamp01(noise_t);
    cSineNoiseParams p = noise;
    p.scales[0] = (pulse * 5.f + 16.2861f) * n;
    p.scales[1] = (pulse * 5.f + 9.97596f) * n;
    p.phases[0] = 0.691106f;
    p.phases[1] = 0.362981f;
    p.curtime = t;
    p.texheight = w;
    p.timescales[0] = 43.f;
    p.timescales[1] = 76.f;
    p.threshold = (1.f - n) * 0.15f;
    return p;
}

cTmpRT cSceneBlacknWhite::render(int)
{
    const float t = float(demo_time()) / 1000.f;
    cTmpRT R = get_flat_rt(RTT_FULL);
    cPassState state(scene_state());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat origin[4] = {0.f, 0.f, 0.f, 1.f}, bright[4] = {1.5f, 1.5f, 1.5f, 1.f};
    glLightfv(GL_LIGHT0, GL_POSITION, origin);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, bright);
    glLightfv(GL_LIGHT0, GL_SPECULAR, bright);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    apply_camera();

    float m[16];
    object_matrix(t, m);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);

    // The spikes in colour first; their depth stays in the buffer that all
    // full-size targets share, so the star core drawn next into a target of
    // its own is hidden where the spikes stand in front of it, without
    // drawing the spikes a second time for their depth alone.
    cTmpRT spikesRT = get_tmp_rt(RTT_FULL);
    glClearColor(0.f, 0.f, 0.f, 0.f);
    spikesRT->bind(true);
    mirror_draw(spikes, m);
    spikesRT->unbind();
    cTmpRT core = get_tmp_rt(RTT_FULL);
    core->bind(false);
    glClear(GL_COLOR_BUFFER_BIT);
    mirror_draw(star, m);
    core->unbind();

    // Its rays, their reach flickering a little every frame, magnified over
    // the spikes as they are laid on them.
    cRadialBlurParams params = blur;
    params.propagation = blur.propagation * (1.f + 0.05f * next_random());
    cTmpRT rays = radialblur_rays(core.get(), params);
    core.release();
    comp(R.get(), rays.get(), spikesRT.get(), COMP_OVER, 1.f);
    rays.release();
    spikesRT.release();

    // Every row smeared to one colour and dodged over the picture, displaced
    // by the distortion as it is dodged.
    cTmpRT T2 = get_flat_rt(RTT_FULL);
    horz_smear_dodge_sinenoise_into(T2.get(), R.get(), distortion(t, float(R->width)));
    glDisable(GL_BLEND);
    return T2;
}

void cSceneBlacknWhite::fillGui(cGuiVarList& list)
{
    list.addFloat("cur_t", &cur_t, 0.f, 1.f);
    list.addFloat("force_noblink", &force_noblink, 0.f, 1.f);
    list.addFloat("force_bright", &force_bright, 0.f, 1.f);
    list.addFloat("noise_t", &noise_t, 0.f, 1.f);
    add_sinenoise_gui(list, noise);
}

SceneVars cSceneBlacknWhite::getVars()
{
    return {{&m_curVar, 0.f, 1.f},     {&m_noiseVar, 0.f, 1.f},  {&m_camdistVar, 0.f, 10.f},
            {&m_noblinkVar, 0.f, 1.f}, {&m_brightVar, 0.f, 1.f}, {&m_thresholdVar, 0.f, 1.f}};
}
