#include "demo/cLoadScreen_MM.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "gl/gl_extensions.h"
#include "gl/gl_state.h"
#include "platform/startup_trace.h"
#include "platform/time_source.h"
#include "render/pass_state.h"
#include "render/quad.h"
#include "runtime/cSceneManager.h"
#include "texture/cResourcePath.h"
#include "texture/cTextureManager.h"

cLoadScreen_MM::cLoadScreen_MM(iTimeSource* clock)
    : m_clock(clock ? clock : cSceneManager::get()->time_source())
{
    get_resource_path()->push_searchpath("../data/models/loader");
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glGetIntegerv(GL_VIEWPORT, savedViewport);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, savedClearColour);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_RECTANGLE_ARB);
    glDisable(GL_LIGHTING);
    apply_render_viewport();
    glClearColor(0.f, 0.f, 0.f, 0.f);
    image = get_texture_manager()->get_texture(imageName, false, GL_CLAMP_TO_EDGE, 0);
}

cLoadScreen_MM::~cLoadScreen_MM()
{
    glViewport(savedViewport[0], savedViewport[1], savedViewport[2], savedViewport[3]);
    glClearColor(savedClearColour[0], savedClearColour[1], savedClearColour[2], savedClearColour[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPopAttrib();
}

int cLoadScreen_MM::now_ms()
{
    return int(double(m_clock->counter()) / double(m_clock->frequency()) * 1000.0);
}

void cLoadScreen_MM::draw_frame()
{
    cPassState saved(cPassOptions().save(GL_CURRENT_BIT));
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ext::glActiveTextureARB(GL_TEXTURE0_ARB);
    cPassState quad(flat_2d());
    glEnable(image.target);
    glBindTexture(image.target, image.id);
    glColor4f(0.25f, 0.25f, 0.25f, 1.f);
    if (image.target == GL_TEXTURE_RECTANGLE_ARB)
        draw_quad_rect(float(image.width), float(image.height));
    else
        draw_quad_unit();
    glBindTexture(image.target, 0);
    glDisable(image.target);
}

void cLoadScreen_MM::draw(float p, bool present)
{
    const int start = now_ms();
    draw_frame();
    if (present) {
        do {
            swap_buffers();
            static bool first = true;
            if (first) {
                first = false;
                startup_mark("first-frame");
            }
            if (now_ms() - start >= PRESENT_MS)
                break;
            draw_frame();
        } while (true);
    }
    progress = p;
}
