#include "demo/demo_input.h"

#include <SDL/SDL.h>

#include <cctype>
#include <set>
#include <vector>

#include "platform/WindowConfig.h"

void window_units(int px, int py, float out[3])
{
    const WindowConfig* wc = window_config();
    out[0] = float(px) / float(wc->width);
    out[1] = float(wc->height - py) / float(wc->height);
    out[2] = 0.f;
}

int pump_events(cInputState& in, iDemoCommands& commands, int max_events)
{
    int handled = 0;
    std::set<int> pressedNow;
    SDL_Event e;
    while (handled < max_events && SDL_PollEvent(&e)) {
        ++handled;
        switch (e.type) {
        case SDL_KEYDOWN:
            if (e.key.keysym.sym == SDLK_ESCAPE) {
                commands.quit();
                break;
            }
            in.heldKeys.insert(std::tolower(int(e.key.keysym.sym)));
            pressedNow.insert(std::tolower(int(e.key.keysym.sym)));
            in.releasedUnseen.erase(std::tolower(int(e.key.keysym.sym)));
            break;
        case SDL_KEYUP: {
            const int key = std::tolower(int(e.key.keysym.sym));
            if (pressedNow.count(key))
                in.releasedUnseen.insert(key);  // a tap within one frame
            else
                in.heldKeys.erase(key);
            break;
        }
        case SDL_MOUSEMOTION:
            window_units(e.motion.x, e.motion.y, in.mouse);
            in.pointerInside = true;
            in.pointerEverMoved = true;
            in.lastPointerMoveMs = SDL_GetTicks();
            commands.pointer(in.mouse[0], in.mouse[1]);
            break;
        case SDL_MOUSEBUTTONDOWN:
            window_units(e.button.x, e.button.y, in.lastClick);
            if (e.button.button >= 1 && e.button.button <= 5)
                in.buttons[e.button.button] = 1;
            commands.pointer(in.lastClick[0], in.lastClick[1]);
            break;
        case SDL_MOUSEBUTTONUP:
            // The wheel "buttons" 4 and 5 are released too: left pressed
            // they would keep the slider panel in drag mode for good.
            if (e.button.button >= 1 && e.button.button <= 5)
                in.buttons[e.button.button] = 0;
            {
                // The slider panel lets go of its grab here, not at the next
                // motion: a press that follows without one grabs afresh.
                float at[3];
                window_units(e.button.x, e.button.y, at);
                commands.pointer(at[0], at[1]);
            }
            break;
        case SDL_ACTIVEEVENT:
            if (e.active.state & SDL_APPMOUSEFOCUS)
                in.pointerInside = e.active.gain != 0;
            break;
        case SDL_QUIT:
            commands.quit();
            break;
        default:
            break;
        }
    }
    return handled;
}

void process_keys(cInputState& in, iDemoCommands& commands)
{
    // A snapshot in ascending order: a command may end the process or change
    // the set, and each key present at the start is looked at once.
    const std::vector<int> keys(in.heldKeys.begin(), in.heldKeys.end());
    for (int key : keys) {
        bool known = true;
        switch (key) {
        case 'q':
        case 27:
            in.heldKeys.erase(key);
            commands.quit();
            break;
        case ' ': commands.dump_time_code(); break;
        case 'm': commands.toggle_mute(); break;
        case 'p': commands.toggle_pause(); break;
        case 't': commands.flip_gui_toggle(); break;
        case '[': commands.set_loop_start(); break;
        case ']': commands.set_loop_end(); break;
        case 'l': commands.toggle_loop(); break;
        case ',': commands.previous_marker(); break;
        case '.': commands.next_marker(); break;
        default: known = false; break;
        }
        if (known)
            in.heldKeys.erase(key);
    }
    for (int key : in.releasedUnseen)
        in.heldKeys.erase(key);
    in.releasedUnseen.clear();
}
