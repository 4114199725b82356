// The scene manager's start-up step: the loading screen hold and fade.
#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "gl/gl_state.h"
#include "platform/startup_trace.h"
#include "platform/time_source.h"
#include "render/pass_state.h"
#include "runtime/cSceneManager.h"
#include "runtime/iLoadScreen.h"
#include "util/fatal_exit.h"

namespace {
// The loading image stays up until five seconds after setup, then fades to
// black within one second and stays black for half a second more.
constexpr int HOLD_UNTIL_MS = 5000;
constexpr int FADE_MS = 1000;
constexpr int BLACK_UNTIL_MS = 1500;

void draw_black(float alpha)
{
    cPassState pass(overlay_2d());
    glColor4f(0.f, 0.f, 0.f, alpha);
    glBegin(GL_QUADS);
    glVertex2f(0.f, 0.f);
    glVertex2f(1.f, 0.f);
    glVertex2f(1.f, 1.f);
    glVertex2f(0.f, 1.f);
    glEnd();
}
}  // namespace

void cSceneManager::debug_test_scene(iLoadScreen& ls)
{
    ls.draw(0.0f, true);
    startup_mark("first-draw-done");
    if (m_scenes.empty()) {
        std::cerr << "debug_test_scene: scene " << 0 << " not added - exiting!" << std::endl;
        end_process(-1);
    }
    m_current = m_scenes[0];
    // A developer looks at one scene alone with WENDIT_SCENE=its name.
    if (const char* wanted = std::getenv("WENDIT_SCENE"); wanted && *wanted) {
        if (cScene* named = find_scene(wanted))
            m_current = named;
        else
            std::cerr << "# warning: WENDIT_SCENE: no scene named \"" << wanted << "\", showing scene 0" << std::endl;
    }
    m_current->init();
    startup_mark("hold-begin");

    while (demo_time() < HOLD_UNTIL_MS) {
        m_clock.source->sleep_ms(10);
        advance_clock();
        ls.draw(1.0f, true);
    }

    advance_clock();
    const int f = demo_time();
    while (demo_time() - f < BLACK_UNTIL_MS) {
        ls.draw(1.0f, false);
        draw_black(std::min(float(demo_time() - f) / float(FADE_MS), 1.0f));
        swap_buffers();
        advance_clock();
    }
    startup_mark("hold-end");
}
