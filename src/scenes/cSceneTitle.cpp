#include "scenes/cSceneTitle.h"

#include <GL/gl.h>

#include "runtime/cSceneManager.h"
#include "scenes/ink_images.h"
#include "scenes/show_assets.h"
#include "timeline/cEventWindow.h"
#include "timeline/iMidiEvent.h"
#include "util/random_table.h"

void cSceneTitle::init()
{
    prepare_ink_images(std::string(show_assets::FROM_BIN) + show_assets::TITLE_DIR);
    images = load_ink_series(show_assets::TITLE_SERIES);
}

void cSceneTitle::handleEvent(cEvent* e)
{
    auto* note = dynamic_cast<cMETrigger*>(e);
    if (!note || note->kind != iMidiEvent::KIND_NOTE_ON)
        return;
    if (note->track == STEP_TRACK) {
        imageIndex = (imageIndex + 1) % 15;
    } else if (note->track == KICK_TRACK) {
        const float a = next_random();
        const float b = next_random();
        kick[0] = b - 0.5f;
        kick[1] = a - 0.5f;
    }
}

bool cSceneTitle::update()
{
    update_interpolators();
    cEventQueue* q = queue ? queue : cSceneManager::get()->event_queue();
    kickAmount = q && clock ? 0.1f * cEventWindow(40.f, 40.f, KICK_TRACK).envelope_at(clock->demo_time(), *q) : 0.f;
    return false;
}

cTmpRT cSceneTitle::render(int)
{
    cTmpRT page = get_flat_rt(RTT_FULL);
    glClearColor(1.f, 1.f, 1.f, 1.f);
    page->bind(true);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDisable(GL_BLEND);
    if (!images.empty()) {
        const cTexture& image = images[size_t(imageIndex) % images.size()];
        cInkPrint print;
        const float x0 = base_x(), y0 = base_y();
        glColor4f(0.7f, 0.7f, 0.7f, 1.f);
        for (int copy = 0; copy < 5; ++copy) {
            float r[7];
            for (float& v : r)
                v = next_random();
            const float e = 0.05f * r[2];
            const float jx = (2.f * r[1] - 1.f) * e;
            const float jy = (2.f * r[0] - 1.f) * e;
            const float gx = (2.f * r[4] - 1.f) * ink_jump(r[3]);
            const float gy = (2.f * r[6] - 1.f) * ink_jump(r[5]);
            draw_ink_image(image, x0 + jx + 0.2f * gx, y0 + jy + 0.2f * gy);
        }
        // The steady black copy last, over the grey ones.
        glColor4f(0.f, 0.f, 0.f, 1.f);
        draw_ink_image(image, x0, y0);
    }
    glDepthMask(GL_TRUE);
    page->unbind();
    glClearColor(0.f, 0.f, 0.f, 0.f);
    return page;
}
