// A key tapped faster than a frame: press and release arrive in the same
// pump, and the key's command still runs once.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "demo/demo_input.h"
#include "support/gl_fixture.h"

namespace {
struct Counter : iDemoCommands {
    int loops = 0, nexts = 0;
    void quit() override {}
    void dump_time_code() override {}
    void toggle_mute() override {}
    void toggle_pause() override {}
    void flip_gui_toggle() override {}
    void toggle_loop() override { ++loops; }
    void next_marker() override { ++nexts; }
};

void push_key(Uint8 type, SDLKey sym)
{
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.keysym.sym = sym;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}
}  // namespace

TEST_F(GLTest, AKeyTappedWithinOneFrameActsOnce)
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
    cInputState in;
    Counter c;
    for (SDLKey k : {SDLK_l, SDLK_PERIOD, SDLK_x}) {
        push_key(SDL_KEYDOWN, k);
        push_key(SDL_KEYUP, k);
    }
    pump_events(in, c);
    process_keys(in, c);
    EXPECT_EQ(c.loops, 1);
    EXPECT_EQ(c.nexts, 1);
    EXPECT_EQ(in.heldKeys.count('x'), 1u) << "held for this frame";
    pump_events(in, c);
    process_keys(in, c);
    EXPECT_EQ(c.loops, 1);
    EXPECT_TRUE(in.heldKeys.empty()) << "released by the next pump";
}
