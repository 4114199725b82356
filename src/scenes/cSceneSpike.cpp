#include "scenes/cSceneSpike.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>

#include "gl/gl_extensions.h"
#include "gui/cGuiVarList.h"
#include "mesh_files/cMeshManager.h"
#include "mesh_files/iMesh.h"
#include "platform/WindowConfig.h"
#include "post/post.h"
#include "render/pass_state.h"
#include "runtime/cSceneManager.h"
#include "scenes/cNoiseOverlay.h"
#include "scenes/show_assets.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/scene_shaders.h"
#include "texture/cTextureManager.h"
#include "timeline/iMidiEvent.h"
#include "util/random_table.h"

namespace {
// The eye at camera distance 1.
const float SPIKE_EYE[3] = {-77.82f, 67.06f, 128.12f};
}  // namespace

cSceneSpike::cSceneSpike(DemoClock* clock)
    : cScene(clock),
      m_camDistVar("cam_dist", &camDist),
      m_desatVar("desat", &hsb.saturation),
      m_blackVar("level_black", &levels.in_black),
      m_whiteVar("level_white", &levels.in_white)
{
    const WindowConfig* w = window_config();
    blur = {float(w->renderWidth / 4 / 2), float(w->renderHeight / 4 / 2), 100.f, 25.f, 1.f, 0.85f, RTT_QUATER};
}

cSceneSpike::~cSceneSpike()
{
    for (cIntervalLerp* r : rings)
        delete r;
}

void cSceneSpike::init()
{
    // The ball's glow map is bound here rather than by its material, so the
    // scene holds the texture record it draws with.
    ball = cMeshManager::instance()->requireMesh(show_assets::SPIKE_BALL, true, "cSceneSpike::init");
    glowTexture = get_texture_manager()->get_texture(glowTextureName, true, GL_REPEAT, 0);
    ensure_shader<cShdSelfIllum>("self_illum_shader");
    blur.dist = 150.f;
    blur.num_samples = 50.f;
    blur.propagation = 0.5f;
    blur.multiplier = 0.15f;
    spinSpeed = 100.f;
    ringTexture = get_texture_manager()->get_texture(ringTextureName, true, GL_CLAMP, 0);
    for (int k = 0; k < 3; ++k)
        camera.eye[k] = SPIKE_EYE[k];
    camera.centre[0] = camera.centre[1] = camera.centre[2] = 0.f;
    camera.znear = 1.f;
    camera.zfar = 1000.f;
    camera.fov = 60.f;
    ensure_post_shaders();
    ensure_comp_shaders();
    levels.in_black = 168.f;
}

void cSceneSpike::choose_axis()
{
    // The first hit turns the ball about the diagonal; every later one draws
    // each component anew in [0, 1), away from the one drawn before, so the
    // axis always changes.
    float drawn[3];
    if (hits == 1) {
        drawn[0] = drawn[1] = drawn[2] = 1.f;
    } else {
        for (int k = 0; k < 3; ++k) {
            float c = 3.f;
            for (int n = 0; n < 1000 && (c > 1.f || std::fabs(c - m_drawn[k]) < 0.1f); ++n)
                c = 2.f * next_random() - 1.f;
            drawn[k] = std::min(std::max(c, 0.f), 1.f);
        }
    }
    float len = std::sqrt(drawn[0] * drawn[0] + drawn[1] * drawn[1] + drawn[2] * drawn[2]);
    if (len < 1e-4f) {  // all three drawn near zero: the diagonal again
        drawn[0] = drawn[1] = drawn[2] = 1.f;
        len = std::sqrt(3.f);
    }
    for (int k = 0; k < 3; ++k) {
        m_drawn[k] = drawn[k];
        spinAxis[k] = drawn[k] / len;
    }
}

void cSceneSpike::handleEvent(cEvent* e)
{
    auto* note = dynamic_cast<cMETrigger*>(e);
    if (!note || note->kind != iMidiEvent::KIND_NOTE_ON || note->track != 2)
        return;
    // A hit that fires after its ring would have ended (late, after a seek)
    // still turns the ball, but adds no ring.
    if (note->time + RING_MS >= demo_time())
        rings.push_back(new cIntervalLerp(note->time, note->time + RING_MS));
    spinSpeed = -spinSpeed;
    ++hits;
    choose_axis();
}

bool cSceneSpike::update()
{
    frameOffset = 0.f;
    cEventQueue* q = queue ? queue : cSceneManager::get()->event_queue();
    const float env = q ? kick.envelope_at(demo_time(), *q) : 0.f;
    blur.propagation = 1.f - 0.8f * env;
    const int t = demo_time();
    rings.erase(std::remove_if(rings.begin(), rings.end(),
                               [t](cIntervalLerp* r) {
                                   const bool gone = t < r->start || t > r->end;
                                   if (gone)
                                       delete r;
                                   return gone;
                               }),
                rings.end());
    return false;
}

void cSceneSpike::draw_rings(int t)
{
    if (shader_manager_exists())
        get_shader_manager()->unbind();
    {
        cPassState pass(cPassOptions()
                            .save(GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT)
                            .off({GL_LIGHTING, GL_DEPTH_TEST})
                            .unit_square_on_model_view());
        glEnable(GL_BLEND);
        ext::glBlendFuncSeparate(GL_ONE, GL_ONE, GL_ONE, GL_ONE);
        // The ring's texture is read as it is, whatever the layer left in
        // the texture matrix.
        glMatrixMode(GL_TEXTURE);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        add_rings(t);
        glMatrixMode(GL_TEXTURE);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }
    glBlendFunc(GL_ONE, GL_ZERO);
}

void cSceneSpike::add_rings(int t)
{
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(ringTexture.target);
    glBindTexture(ringTexture.target, ringTexture.id);

    const WindowConfig* w = window_config();
    const float aspect = float(w->width) / float(w->height);
    for (const cIntervalLerp* r : rings) {
        const float span = float(std::max(r->end - r->start, 1));
        const float p = std::min(std::max(float(t - r->start) / span, 0.f), 1.f);
        const float q = 1.f - p;
        const float g = std::min(std::max(ringBrightness * q, 0.f), 0.85f);
        const float h = (2.f * q + 1.f) * (2.f * q + 1.f) * (2.f * q + 1.f);
        const float hx = 0.5f * h / aspect, hy = 0.5f * h;
        glColor4f(g, g, g, 1.f);
        glBegin(GL_QUADS);
        glTexCoord2f(0.f, 0.f);
        glVertex2f(0.5f - hx, 0.5f - hy);
        glTexCoord2f(1.f, 0.f);
        glVertex2f(0.5f + hx, 0.5f - hy);
        glTexCoord2f(1.f, 1.f);
        glVertex2f(0.5f + hx, 0.5f + hy);
        glTexCoord2f(0.f, 1.f);
        glVertex2f(0.5f - hx, 0.5f + hy);
        glEnd();
    }

    glBindTexture(ringTexture.target, 0);
}

cTmpRT cSceneSpike::render(int)
{
    const float t = float(demo_time()) / 1000.f;
    cShaderManager_CG* sm = get_shader_manager();
    cTmpRT T = get_tmp_rt(RTT_HALF);
    {
        cPassState state(scene_state());
        sm->bind("self_illum_shader");
        glDisable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);

        for (int k = 0; k < 3; ++k)
            camera.eye[k] = camDist * SPIKE_EYE[k];
        apply_camera();
        glRotatef(t * spinSpeed + frameOffset + spinPhase, spinAxis[0], spinAxis[1], spinAxis[2]);

        glClearColor(0.f, 0.f, 0.f, 0.f);
        T->bind(true);
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
        glEnable(glowTexture.target);
        glBindTexture(glowTexture.target, glowTexture.id);
        if (ball)
            ball->draw();
        glBindTexture(glowTexture.target, 0);
        glDisable(glowTexture.target);
        T->unbind();

        // The rays stay at their own size: the dodge magnifies them as it
        // reads them.
        cTmpRT rays = radialblur_rays(T.get(), blur);

        cTmpRT B = get_flat_rt(RTT_HALF);
        {
            cPassState into(cPassOptions().into(B.get(), true));
            draw_rings(demo_time());
        }

        comp(T.get(), B.get(), rays.get(), COMP_DODGE, 1.f);
        rays.release();
        B.release();
        cTmpRT A = get_flat_rt(RTT_HALF);
        // Inverted with the grain over it, then levels and colour in one
        // pass.
        {
            cPassState into(cPassOptions().into(A.get()));
            draw_grained([&] { invert_pass(T.get()); }, get_noise_overlay(), 1.f, 0.1f);
        }
        levels_hsb_into(T.get(), A.get(), levels, hsb);
    }
    sm->unbind();
    return T;
}

void cSceneSpike::fillGui(cGuiVarList& list)
{
    add_camera_gui(list, camera, -1000.f, 1000.f);
    add_radialblur_gui(list, blur);
    add_levels_gui(list, levels);
    add_hsb_gui(list, hsb);
}

SceneVars cSceneSpike::getVars()
{
    return {{&m_camDistVar, 0.f, 10.f},
            {&m_desatVar, -100.f, 100.f},
            {&m_blackVar, 0.f, 255.f},
            {&m_whiteVar, 0.f, 255.f}};
}
