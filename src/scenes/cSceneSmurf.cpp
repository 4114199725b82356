#include "scenes/cSceneSmurf.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "gl/gl_extensions.h"
#include "gui/cGuiVarList.h"
#include "post/register_all.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "scenes/show_assets.h"
#include "shaders/cShaderManager_CG.h"
#include "texture/cTextureManager.h"
#include "timeline/iMidiEvent.h"
#include "util/random_table.h"

namespace {
float clamp01(float v)
{
    return std::min(std::max(v, 0.f), 1.f);
}
}  // namespace

cSceneSmurf::cSceneSmurf(DemoClock* clock)
    : cScene(clock), m_scaleVar("curheadscale", &curheadscale), m_forceVar("forceheadscale", &forceheadscale)
{
}

void cSceneSmurf::init()
{
    register_all_shaders();
    head = get_texture_manager()->get_texture(show_assets::HEAD, false, GL_CLAMP_TO_EDGE, 0);
}

void cSceneSmurf::handleEvent(cEvent* e)
{
    if (is_note_on(e, NOTE_TRACK))
        lastNote = e->time;
}

bool cSceneSmurf::update()
{
    update_interpolators();
    return false;
}

void cSceneSmurf::fillGui(cGuiVarList& list)
{
    list.addFloat("curheadscale", &curheadscale, 0.f, 2.f);
    list.addFloat("forcehead_t", &forceheadscale, 0.f, 1.f);
}

SceneVars cSceneSmurf::getVars()
{
    return {{&m_scaleVar, 0.f, 2.f}, {&m_forceVar, 0.f, 1.f}};
}

float cSceneSmurf::flash(int sinceNote)
{
    const float x = clamp01(3.f * (1.f - float(sinceNote) / 350.f));
    return x * x * (3.f - 2.f * x);
}

float cSceneSmurf::spread(int sinceNote, float f, float scale)
{
    if (scale <= 0.f)
        return 0.f;
    return clamp01(clamp01((float(sinceNote) / 500.f - 0.3f) * 1.43f) * (1.f - f) * 2.f / scale);
}

cTmpRT cSceneSmurf::render(int)
{
    cTmpRT page = get_flat_rt(RTT_FULL);
    glClearColor(0.2f, 0.2f, 0.2f, 0.f);
    page->bind(true);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    head_pass();
    glDepthMask(GL_TRUE);
    page->unbind();
    glClearColor(0.f, 0.f, 0.f, 0.f);
    return page;
}

void cSceneSmurf::head_pass()
{
    const int since = demo_time() - lastNote;
    const float c = curheadscale;
    const float h = clamp01(forceheadscale);

    cPassState saved(cPassOptions().save(GL_ALL_ATTRIB_BITS));
    glEnable(GL_BLEND);
    GLint src = GL_ONE, dst = GL_ZERO;
    glGetIntegerv(GL_BLEND_SRC_RGB, &src);
    glGetIntegerv(GL_BLEND_DST_RGB, &dst);
    ext::glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE, GL_ONE, GL_ONE);

    const float f = flash(since);
    cPassState quad(flat_2d());
    glColor4f(1.f, 1.f, 1.f, 1.f);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef((1.f - c) / 2.f, (1.f - c) / 2.f, 0.f);
    glScalef(c, c, 1.f);

    const bool textured = head.loaded();
    if (textured) {
        get_shader_manager()->bind("rgba_shader");
        ext::glActiveTextureARB(GL_TEXTURE0_ARB);
        glEnable(head.target);
        glBindTexture(head.target, head.id);
    }
    const float w = spread(since, f, c);
    // With no flash and no force the base is 0 and every copy adds nothing.
    const float strength = std::pow((1.f - h) * f + h, 0.025f) / float(COPIES);
    for (int copy = 0; copy < COPIES; ++copy) {
        glPushMatrix();
        const float r = next_random();
        glTranslatef((1.f - h) * w * (2.f * r - 1.f), 0.f, 0.f);
        const float q = next_random();
        const float alpha = clamp01(strength - 0.025f * q);
        glColor4f(1.f, 1.f, 1.f, alpha);
        // A copy of no strength adds nothing (its alpha weighs its colour
        // and is itself what it adds to the alpha): it is not drawn. The
        // random numbers are drawn all the same.
        if (alpha > 0.f)
            draw_quad_unit();
        glPopMatrix();
    }
    if (textured) {
        glBindTexture(head.target, 0);
        glDisable(head.target);
        get_shader_manager()->unbind();
    }
    glPopMatrix();
    ext::glBlendFuncSeparate(GLenum(src), GLenum(dst), GL_ONE, GL_ONE);
}
