// Dragging a slider while the scene rebuilds the panel under the drag: in
// the show itself with real X pointer events, and through the event pump
// with SDL events for the float and Vec3 sliders.
#include <SDL/SDL.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "demo/demo_input.h"
#include "gui/cGuiVarList.h"
#include "platform/cInputState.h"
#include "support/baked_data.h"
#include "support/gl_fixture.h"
#include "support/midi_builder.h"
#include "support/prerequisite.h"
#include "support/show_run.h"

namespace {
// The main loop's part in a drag: the pump hands pointer events to the
// panel, then the scene refills the panel (as one that rebuilds it on
// every frame does), then the panel is drawn.
struct RebuildingFrames : iDemoCommands {
    void quit() override {}
    void dump_time_code() override {}
    void toggle_mute() override {}
    void toggle_pause() override {}
    void flip_gui_toggle() override {}
    void pointer(float x, float y) override { list.handleEvent(GUI_DRAG, x, y); }

    void frame()
    {
        pump_events(input_state(), *this);
        list.clear();
        list.addFloat("gain", &gain, 0.f, 2.f);
        list.addVec3("eye", &eye, -4.f, 4.f);
        list.draw();
    }
    cGuiVarList list;
    float gain = 1.f;
    Vec3<float> eye{0.f, 0.f, 0.f};
};

void push_mouse(Uint8 type, float x, float y)
{
    SDL_Event e{};
    e.type = type;
    const int px = int(x * 1280.f), py = int((1.f - y) * 720.f);
    if (type == SDL_MOUSEMOTION) {
        e.motion.x = Uint16(px);
        e.motion.y = Uint16(py);
        e.motion.state = input_state().button_mask() ? SDL_BUTTON(1) : 0;
    } else {
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = Uint16(px);
        e.button.y = Uint16(py);
    }
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

std::string sh(const std::string& display, const std::string& xdotool_args)
{
    return "DISPLAY=" + display + " xdotool " + xdotool_args + " >/dev/null 2>&1";
}
}  // namespace

using PanelDrag = GLTest;

TEST_F(PanelDrag, FloatAndVec3DragsSurviveARebuildOnEveryFrame)
{
    use_baked_textures();
    input_state().reset();
    RebuildingFrames f;
    f.list.init();
    f.list.setPosition(0.05f, 0.05f);
    f.list.setSize(0.9f, 0.65f);
    f.frame();
    // Each step is a frame of its own: hover, press, drag, drag, release.
    auto drag = [&](float x, float y, float tx) {
        push_mouse(SDL_MOUSEMOTION, x, y);
        f.frame();
        push_mouse(SDL_MOUSEBUTTONDOWN, x, y);
        f.frame();
        push_mouse(SDL_MOUSEMOTION, (x + tx) / 2, y + 0.05f);  // off the row: the grab holds
        f.frame();
        push_mouse(SDL_MOUSEMOTION, tx, y);
        f.frame();
        push_mouse(SDL_MOUSEBUTTONUP, tx, y);
        f.frame();
    };
    float x, y;
    f.list.rows()[0].second->getPosition(x, y);
    const float w = f.list.height;
    drag(x + 0.02f, y + 0.01f, x + 0.75f * w);
    EXPECT_NEAR(f.gain, 1.5f, 0.01f);

    // The middle member of the Vec3 (y): the others keep their values.
    f.list.rows()[1].second->getPosition(x, y);
    const float member = w / 3.1f, gap = (w - 3.f * member) / 2.f;
    const float left = x + member + gap;
    drag(left + 0.01f, y + 0.01f, left + 0.25f * member);
    EXPECT_NEAR(f.eye.y, -2.f, 0.05f);
    EXPECT_EQ(f.eye.x, 0.f);
    EXPECT_EQ(f.eye.z, 0.f);
    EXPECT_NEAR(f.gain, 1.5f, 0.01f);
    input_state().reset();
}

// The MIDI test scene rebuilds its panel on every frame; its controller
// slider is dragged in the show's window with the X server's own pointer.
TEST(ShowPanel, ControllerSliderFollowsARealPointerDrag)
{
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0)
        MISSING_PREREQUISITE("xdotool is not installed (scripts/install_deps.sh installs it)");
    PrivateDisplay display;
    ASSERT_TRUE(display.ok());
    DataTree tree("s00 00:00:00,000\nquit 00:10:00,000\n");
    MidiTrackBuilder track;
    track.name(0, "pad").cc(0, 74, 10).end(0);
    tree.write("data/music/GLOAM2.mid", MidiFileBuilder(480).track(track).str());
    ShowProcess show(tree, 20.0, {},
                     {{"DISPLAY", display.name}, {"WENDIT_SCENE", "miditest"}, {"WENDIT_TIMELINE_TRACE", "1"}});
    ASSERT_TRUE(show.wait_for_stderr("demo start")) << show.err_so_far();

    // Row 0 is the track's label, row 1 "ctrl74" (0..128): its slider spans
    // x 0.25..0.90 and y 0.64..0.665 of the window, whose origin is at the
    // bottom left; X counts y from the top.
    const std::string win = "search --sync --name 'Wendit OpenGL' ";
    const int y = int((1.f - 0.6525f) * 720.f);
    const int x0 = int(0.30f * 1280.f), x1 = int((0.25f + 0.65f * 0.75f) * 1280.f);
    auto step = [&](const std::string& what) {
        ASSERT_EQ(std::system(sh(display.name, what).c_str()), 0) << what;
        // The show pumps its events once a frame: a few frames take the step in.
        ASSERT_TRUE(show.wait_for_frames(5)) << what << "\n" << show.err_so_far();
    };
    step(win + "mousemove --window %1 " + std::to_string(x0) + " " + std::to_string(y));
    step("mousedown 1");
    step("mousemove_relative 40 30");
    step(win + "mousemove --window %1 " + std::to_string(x1) + " " + std::to_string(y));
    step("mouseup 1");
    step(win + "mousemove --window %1 " + std::to_string(x1) + " " + std::to_string(y + 100));
    ASSERT_TRUE(send_key_to_show(display.name, XK_space));
    ASSERT_TRUE(show.wait_for_stderr("\nctrl74 ", 20000)) << show.err_so_far();
    ASSERT_TRUE(send_key_to_show(display.name, XK_q));
    ShowResult r = show.finish(20000);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("\nctrl74 96\n"), std::string::npos) << "three quarters of 128:\n" << r.err;
}
