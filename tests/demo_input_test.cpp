// The event pump and the key commands, fed real SDL events.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo/demo_input.h"
#include "support/gl_fixture.h"

namespace {
struct Recorder : iDemoCommands {
    std::vector<std::string> calls;
    void quit() override { calls.push_back("quit"); }
    void dump_time_code() override { calls.push_back("dump"); }
    void toggle_mute() override { calls.push_back("mute"); }
    void toggle_pause() override { calls.push_back("pause"); }
    void flip_gui_toggle() override { calls.push_back("gui"); }
};

class Input : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
    }
    static void key(Uint8 type, SDLKey sym)
    {
        SDL_Event e{};
        e.type = type;
        e.key.type = type;
        e.key.keysym.sym = sym;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }
    static void button(Uint8 type, Uint8 b, Uint16 x, Uint16 y)
    {
        SDL_Event e{};
        e.type = type;
        e.button.type = type;
        e.button.button = b;
        e.button.x = x;
        e.button.y = y;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }
    cInputState in;
    Recorder rec;
};
}  // namespace

TEST_F(Input, AtMostTenEventsAFrameAndNoneLost)
{
    for (int i = 0; i < 25; ++i)
        key(i % 2 ? SDL_KEYUP : SDL_KEYDOWN, SDLK_x);
    EXPECT_EQ(pump_events(in, rec), 10);
    EXPECT_EQ(pump_events(in, rec), 10);
    EXPECT_EQ(pump_events(in, rec), 5);
    EXPECT_EQ(pump_events(in, rec), 0);
    EXPECT_EQ(in.heldKeys.count('x'), 1u) << "the 25th event was a key-down";
}

TEST_F(Input, HeldCommandKeysActOncePerPress)
{
    key(SDL_KEYDOWN, SDLK_p);
    pump_events(in, rec);
    for (int frame = 0; frame < 5; ++frame)
        process_keys(in, rec);
    EXPECT_EQ(rec.calls, std::vector<std::string>({"pause"}));
    key(SDL_KEYUP, SDLK_p);
    key(SDL_KEYDOWN, SDLK_p);
    pump_events(in, rec);
    process_keys(in, rec);
    EXPECT_EQ(rec.calls, std::vector<std::string>({"pause", "pause"}));
}

TEST_F(Input, KeysWithoutACommandStayHeldUntilReleased)
{
    key(SDL_KEYDOWN, SDLK_x);
    pump_events(in, rec);
    process_keys(in, rec);
    process_keys(in, rec);
    EXPECT_EQ(in.heldKeys.count('x'), 1u);
    key(SDL_KEYUP, SDLK_x);
    pump_events(in, rec);
    EXPECT_TRUE(in.heldKeys.empty());
    EXPECT_TRUE(rec.calls.empty());
}

TEST_F(Input, AKeyTappedWithinOneFrameStillActsOnce)
{
    // Slow frames: press and release arrive in the same pump.
    key(SDL_KEYDOWN, SDLK_q);
    key(SDL_KEYUP, SDLK_q);
    key(SDL_KEYDOWN, SDLK_x);
    key(SDL_KEYUP, SDLK_x);
    pump_events(in, rec);
    process_keys(in, rec);
    EXPECT_EQ(rec.calls, std::vector<std::string>({"quit"}));
    EXPECT_TRUE(in.heldKeys.empty()) << "a tapped key is not left held";
}

TEST_F(Input, EachCommandKeyRunsItsCommandInKeyOrder)
{
    for (SDLKey k : {SDLK_t, SDLK_m, SDLK_SPACE, SDLK_q})
        key(SDL_KEYDOWN, k);
    pump_events(in, rec);
    process_keys(in, rec);
    // ascending key codes: space 32, m 109, q 113, t 116
    EXPECT_EQ(rec.calls, std::vector<std::string>({"dump", "mute", "quit", "gui"}));
    rec.calls.clear();
    key(SDL_KEYDOWN, SDLK_ESCAPE);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    pump_events(in, rec);
    EXPECT_EQ(rec.calls, std::vector<std::string>({"quit", "quit"}));
    EXPECT_EQ(in.heldKeys.count(27), 0u);
}

TEST_F(Input, PointerIsInWindowUnitsFromTheBottomLeft)
{
    SDL_Event m{};
    m.type = SDL_MOUSEMOTION;
    m.motion.x = 320;
    m.motion.y = 180;
    SDL_PushEvent(&m);
    button(SDL_MOUSEBUTTONDOWN, 1, 1280, 0);
    pump_events(in, rec);
    EXPECT_FLOAT_EQ(in.mouse[0], 0.25f);
    EXPECT_FLOAT_EQ(in.mouse[1], 0.75f);
    EXPECT_FLOAT_EQ(in.lastClick[0], 1.f);
    EXPECT_FLOAT_EQ(in.lastClick[1], 1.f);
    EXPECT_EQ(in.button_mask(), 1);
    button(SDL_MOUSEBUTTONDOWN, 3, 0, 0);
    button(SDL_MOUSEBUTTONDOWN, 7, 0, 0);
    pump_events(in, rec);
    EXPECT_EQ(in.button_mask(), 1 | 4);
    button(SDL_MOUSEBUTTONUP, 1, 0, 0);
    button(SDL_MOUSEBUTTONUP, 3, 0, 0);
    pump_events(in, rec);
    EXPECT_EQ(in.button_mask(), 0);
}

TEST_F(Input, WheelStepsDoNotLeaveAButtonHeld)
{
    button(SDL_MOUSEBUTTONDOWN, 4, 10, 10);
    button(SDL_MOUSEBUTTONUP, 4, 10, 10);
    pump_events(in, rec);
    EXPECT_EQ(in.button_mask(), 0) << "a held wheel 'button' would keep the panel dragging forever";
}
