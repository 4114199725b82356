#include "scenes/cSceneSpacesphere.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>

#include "gl/gl_extensions.h"
#include "mesh_files/cMeshManager.h"
#include "mesh_files/iMesh.h"
#include "post/post.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "runtime/cSceneManager.h"
#include "scenes/show_assets.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/cShdSkyLevels.h"
#include "texture/cTextureManager.h"
#include "shaders/shader_value.h"
#include "util/random_table.h"

void cSceneSpacesphere::init()
{
    sphere = cMeshManager::instance()->requireMesh(show_assets::SPACE_SPHERE, true, "cSceneSpacesphere::init");
    sky = get_texture_manager()->get_texture(skyName, false, GL_CLAMP_TO_EDGE, 0);
    vignette = get_texture_manager()->get_texture(vignetteName, false, GL_CLAMP_TO_EDGE, 0);
    camera.eye[0] = camera.eye[1] = camera.eye[2] = 0.f;
    camera.centre[0] = 397.23f, camera.centre[1] = 486.23f, camera.centre[2] = -2.28f;
    camera.fov = 134.85f;
    ensure_post_shaders();
    ensure_shader<cShdSkyLevels>("sky_levels_shader");
}

bool cSceneSpacesphere::update()
{
    const float t = float(demo_time()) / 1000.f;
    const float b = 0.5f * std::sin(t) + 1.f;
    const float len = std::sqrt(b * b + 2.f);
    camera.up[0] = b / len, camera.up[1] = 1.f / len, camera.up[2] = 1.f / len;
    camera.eye[0] = 40.f * std::cos(0.6f * t);
    camera.eye[1] = 20.f * std::sin(0.6f * t) - 20.f;
    camera.eye[2] = 0.f;
    cEventQueue* q = queue ? queue : cSceneManager::get()->event_queue();
    const float e = q ? kick.envelope_at(demo_time(), *q) : 0.f;
    camera.fov = 100.f + 20.f * std::min(std::max(e, 0.f), 1.f);
    update_interpolators();
    return false;
}

namespace {
cShaderValueRef g_skyLevels("sky_levels_shader", 1);
cShaderValueRef g_skyTargetSize("sky_levels_shader", 2);
}  // namespace

cTmpRT cSceneSpacesphere::render(int)
{
    if (shader_manager_exists())
        get_shader_manager()->unbind();
    cTmpRT R = get_flat_rt(RTT_FULL);
    cPassState state(scene_state().into(R.get()));
    glClearColor(0.f, 0.f, 0.f, 0.f);
    glClear(GL_COLOR_BUFFER_BIT);
    apply_camera();
    glDisable(GL_LIGHTING);
    // One closed sphere seen from inside covers every pixel once: no depth
    // test or depth writes needed, which spares the software renderer a
    // depth read and write per pixel.
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glColor4f(1.f, 1.f, 1.f, 1.f);

    // The sky, darkened by the vignette and put through levels as it is
    // drawn: the picture is written once, not three times.
    const float r1 = next_random(), r2 = next_random();
    lastLevels = {50.f * r2, 255.f - 10.f * r1, 1.f, 0.f, 255.f};
    const char* shader = "sky_levels_shader";
    const float five[5] = {lastLevels.in_black, lastLevels.in_white, lastLevels.gamma, lastLevels.out_black,
                           lastLevels.out_white};
    const float size[2] = {float(R->width), float(R->height)};
    cShaderManager_CG* sm = get_shader_manager();
    cPassState shaders(cPassOptions().shaders(sm));
    g_skyLevels.set(five);
    g_skyTargetSize.set(size);
    sm->bind(shader);
    ext::glActiveTextureARB(GL_TEXTURE1_ARB);
    glBindTexture(vignette.target, vignette.id);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(sky.target, sky.id);
    if (sphere)
        sphere->draw();
    glBindTexture(sky.target, 0);
    ext::glActiveTextureARB(GL_TEXTURE1_ARB);
    glBindTexture(vignette.target, 0);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    return R;
}

void cSceneSpacesphere::fillGui(cGuiVarList& list)
{
    add_camera_gui(list, camera, -1000.f, 1000.f);
}
