#include "scenes/cSceneMandalaCube.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <functional>

#include "gl/gl_extensions.h"
#include "gui/cGuiVarList.h"
#include "mesh_files/cMeshManager.h"
#include "post/post.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "scenes/show_assets.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/cShdMorphDtex.h"
#include "shaders/scene_shaders.h"
#include "texture/cResourcePath.h"
#include "texture/cTextureManager.h"
#include "timeline/iMidiEvent.h"
#include "util/random_table.h"

namespace {
// The faces stand this far from the centre when the camera is inside: the
// walls are 800 across, so they close a room.
const float INSIDE_PUSH = 400.f;

struct Config {
    float eye[3], centre[3], fov;
    int kaleido;
    unsigned char inside;
    float morph;
};
const Config CONFIGS[3] = {
    {{164.36f, 20.49f, -86.11f}, {0.f, 0.f, -39.54f}, 95.061f, 0, 1, 0.f},
    {{89.84f, 20.49f, -2.28f}, {0.f, 0.f, 50.f}, 127.061f, 5, 1, 0.f},
    {{150.f, 542.12f, -281.73f}, {0.f, 0.f, 50.f}, 60.061f, 7, 0, 0.25f},
};
}  // namespace

cSceneMandalaCube::cSceneMandalaCube(DemoClock* clock)
    : cScene(clock),
      m_configVar("cur_config", &cur_config),
      m_rotVar("rot", &rot),
      m_thresholdVar("threshold", &noise.threshold),
      m_backitsVar("backits", &backits)
{
    noise.size_class = RTT_QUATER;
}

void cSceneMandalaCube::init()
{
    cResourcePath* path = get_resource_path();
    for (const char* dir : {show_assets::MANDALA_DIR, show_assets::MANDALA_GREYS_DIR, show_assets::KALEIDO_DIR})
        path->push_searchpath(std::string(show_assets::FROM_BIN) + dir);

    cMeshManager* meshes = cMeshManager::instance();
    cube_face = meshes->requireMesh(show_assets::CUBE_FACE, false, "cSceneMandalaCube::init");
    for (int k = 0; k < LAYER_COUNT; ++k) {
        const int ring = show_assets::FIRST_RELIEF + k;
        layers[k].loadMorph(show_assets::relief_layer(ring, false), show_assets::relief_layer(ring, true));
    }
    ensure_shader<cShdMorphDtex>("morph_shader");
    ensure_shader<cShdRGBAtex>("rgbatex_shader");

    vignette = get_texture_manager()->get_texture(show_assets::VIGNETTE, false, GL_CLAMP_TO_EDGE, 0);
    vignette_name = vignette.name;

    const float eye[3] = {-150.f, 150.f, -50.f}, centre[3] = {0.f, 0.f, 50.f};
    std::copy(eye, eye + 3, camera.eye);
    std::copy(centre, centre + 3, camera.centre);
    camera.fov = 100.f;
    camera.znear = 10.f;
    camera.zfar = 10000.f;
    camera.roll = -295.962;

    noise = cSineNoiseParams{{38.351f, 34.0457f, 21.2572f, 9.61539f},
                             {0.046875f, 0.0985577f, 0.289663f, 0.6875f},
                             0.f,
                             0.f,
                             {6.2981f, 0.f, 0.f, 0.f},
                             15.1442f,
                             RTT_QUATER};
    color_offset = 1.82692f;
    levels = {87.f, 200.f, 1.f, 0.f, 255.f};
    scroll_speed = 40.f;
    scroll_rate = -2000.f;

    ensure_post_shaders();
    planes.clear();
    for (const char* file : show_assets::KALEIDO_PLANES)
        planes.push_back(meshes->requireMesh(file, false, "cSceneMandalaCube::init"));
}

void cSceneMandalaCube::apply_config(int config)
{
    if (config < 0 || config > 2)
        return;
    const Config& c = CONFIGS[config];
    std::copy(c.eye, c.eye + 3, camera.eye);
    std::copy(c.centre, c.centre + 3, camera.centre);
    camera.fov = c.fov;
    kaleido = c.kaleido;
    inside = c.inside;
    morph = c.morph;
}

bool cSceneMandalaCube::update()
{
    if (cur_config != applied_config) {
        apply_config(cur_config);
        applied_config = cur_config;
    }
    update_interpolators();
    // A note's pulse leaves the list once its last value is written.
    drop_played_pulses(m_pulses, demo_time(), PULSE_MS);
    // The frame's step: nothing while the clock stands still.
    const int step = clock && !clock->paused ? std::max(clock->now - clock->previous, 0) : 0;
    rot += float(step) / 1000.f * 30.f;
    cMeshMorph::setMorph(morph);
    return false;
}

void cSceneMandalaCube::handleEvent(cEvent* e)
{
    auto* t = dynamic_cast<cMETrigger*>(e);
    if (!t || t->kind != iMidiEvent::KIND_NOTE_ON)
        return;
    const int at = t->time;
    if (t->track == 7) {
        rot = 0.f;
    } else if (t->track == 2) {
        m_pulses.push_back(new cLerp<float>(&m_morphVar, at, at + PULSE_MS, 0.286058f, 0.f));
        interpolators.push_back(m_pulses.back());
    } else if (t->track == 5 && (t->data1 == 36 || t->data1 == 42 || t->data1 == 48 || t->data1 == 54)) {
        m_pulses.push_back(new cLerp<float>(&m_pulseVar, at, at + PULSE_MS, 1.f, 0.f));
        interpolators.push_back(m_pulses.back());
    }
}

void cSceneMandalaCube::fillGui(cGuiVarList& list)
{
    list.addInt("cur_config", &cur_config, 1.f);
    add_camera_gui(list, camera, -1000.f, 1000.f);
    list.addInt("kaleido2d", &kaleido, float(planes.size()));
    list.addFloat("morph", &morph, 0.f, 1.f);
    add_sinenoise_gui(list, noise);
}

SceneVars cSceneMandalaCube::getVars()
{
    return {{&m_configVar, 0.f, 1.f},
            {&m_rotVar, -360.f, 360.f},
            {&m_thresholdVar, -360.f, 360.f},
            {&m_backitsVar, 0.f, 1.f}};
}

void cSceneMandalaCube::draw_cube()
{
    // The six orientations of a face; the first is the face as modelled.
    const float turns[6][4] = {{0, 1, 0, 0},  {90, 1, 0, 0}, {-90, 1, 0, 0},
                               {180, 1, 0, 0}, {90, 0, 1, 0}, {-90, 0, 1, 0}};
    auto each_face = [&](const std::function<void()>& draw) {
        for (const auto& r : turns) {
            glPushMatrix();
            if (r[0] != 0.f)
                glRotatef(r[0], r[1], r[2], r[3]);
            if (inside)
                glTranslatef(0.f, 0.f, -INSIDE_PUSH);
            draw();
            glPopMatrix();
        }
    };
    // The walls (and any ring whose pair was refused, unmorphed) with the
    // shader bound now; then every morphing ring of the six faces under one
    // bind of the morph shader rather than a bind per ring.
    each_face([&] {
        if (cube_face)
            cube_face->draw();
        glRotatef(morph * 90.f, 0.f, 0.f, 1.f);
        for (cMeshMorph& layer : layers)
            if (!layer.morphed())
                layer.draw();
    });
    cShaderManager_CG* shaders = get_shader_manager();
    shaders->push_shader();
    shaders->bind("morph_shader");
    each_face([&] {
        glRotatef(morph * 90.f, 0.f, 0.f, 1.f);
        for (cMeshMorph& layer : layers)
            layer.draw_morph_bound();
    });
    shaders->pop_shader();
}

void cSceneMandalaCube::kaleido_pass(iRenderTarget* src, int k)
{
    k = std::min(std::max(k, 0), int(planes.size()));
    cPassState saved(cPassOptions().save(GL_ENABLE_BIT).off(GL_BLEND));
    if (k == 0) {
        draw_target(src);
        return;
    }
    // The planes' coordinates run 0..1: scaled to the target's texels.
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glScalef(float(src->width), float(src->height), 1.f);
    glMatrixMode(GL_MODELVIEW);
    {
        cPassState quad(flat_2d());
        glColor4f(1.f, 1.f, 1.f, 1.f);
        src->bind_texture(GL_TEXTURE0);
        glRotatef(-90.f, 1.f, 0.f, 0.f);
        glScalef(1.01f, 1.01f, 1.01f);
        planes[size_t(k - 1)]->draw();
        src->unbind_texture();
    }
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void cSceneMandalaCube::render_cube(iRenderTarget* target)
{
    cShaderManager_CG* shaders = get_shader_manager();
    glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glClearColor(0.f, 0.f, 0.f, 0.f);
    target->bind(true);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glEnable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    // Every surface of the wall and the rings is closed, its far side turned
    // away: the software renderer need not fill what the depth test hides.
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    const GLfloat at_viewer[4] = {0.f, 0.f, 0.f, 1.f}, white[4] = {1.f, 1.f, 1.f, 1.f};
    glLightfv(GL_LIGHT0, GL_POSITION, at_viewer);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glEnable(GL_LIGHT0);
    apply_camera();
    // Whatever shader the caller had bound comes back afterwards.
    shaders->push_shader();
    shaders->bind("rgbatex_shader");
    glRotatef(rot + spin_offset, 0.f, 0.f, 1.f);
    glColor4f(1.f, 1.f, 1.f, 1.f);
    draw_cube();
    shaders->pop_shader();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    target->unbind();
    glPopAttrib();
}

// The light band, five jittered copies added, then the vignette multiplied
// over the picture in target.
void cSceneMandalaCube::light_band(iRenderTarget* target)
{
    cPassState into(cPassOptions().into(target));
    // The blend factors go back as they were.
    cPassState pass(flat_2d().save(GL_COLOR_BUFFER_BIT));
    glEnable(GL_BLEND);
    ext::glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE, GL_ONE, GL_ONE);
    const float w = next_random() * 0.1f * backits;
    glColor4f(1.f, 1.f, 1.f, w);
    for (int i = 0; i < 5; ++i) {
        glPushMatrix();
        const float a = next_random(), b = next_random();
        glTranslatef((2.f * b - 1.f) * 0.01f, (2.f * a - 1.f) * 0.01f, 0.f);
        glTranslatef(0.f, 0.375f, 0.f);
        glScalef(1.f, 0.25f, 1.f);
        draw_quad_unit();
        glPopMatrix();
    }

    // 9: the vignette multiplied over the picture.
    ext::glBlendFuncSeparate(GL_ZERO, GL_SRC_COLOR, GL_ZERO, GL_ONE);
    if (vignette.loaded())
        draw_texture(vignette);
}

cTmpRT cSceneMandalaCube::render(int)
{
    const float t = float(demo_time()) / 1000.f;

    // 1-2: the cube, lit from the viewer, into T1.
    cShaderManager_CG* shaders = get_shader_manager();
    shaders->push_shader();  // the caller's shader is bound again at the end
    cTmpRT t1 = get_tmp_rt(RTT_HALF);
    render_cube(t1.get());
    shaders->unbind();  // the kaleidoscope draws with the fixed pipeline

    // 3: folded through the kaleidoscope into T2.
    cTmpRT t2 = get_flat_rt(RTT_HALF);
    glClearColor(0.f, 0.f, 0.f, 0.f);
    t2->bind(true);
    kaleido_pass(t1.get(), kaleido);
    t2->unbind();

    // 4-7: colour offset, scroll, sine noise, levels.
    coloroffset_into(t1.get(), t2.get(), color_offset);
    const float scroll[4] = {scroll_rate * t, scroll_speed, float(t2->height), 0.f};
    scroll_into(t2.get(), t1.get(), scroll);
    cSineNoiseParams n = noise;
    n.curtime = t;
    n.texheight = float(t2->width);
    n.scales[3] += pulse * 65.f;
    n.threshold -= pulse * 65.f;
    levels.in_black = 87.f + 25.f * (2.f * next_random() - 1.f);
    levels.in_white = 200.f + 25.f * (2.f * next_random() - 1.f);
    sinenoise_levels_into(t1.get(), t2.get(), n, levels);
    std::swap(t1, t2);

    // 8-9: the light band and the vignette.
    light_band(t2.get());

    t1.release();
    shaders->pop_shader();
    return t2;
}
