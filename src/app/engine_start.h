#pragma once
// The start-up every program that shows the show shares, after its own
// questions and options: the window and its GL context, the loading grey,
// the exit hook, GL in its default state, the show's resource paths and
// the shader runtime. The steps run in this order in every program; the
// options are where the programs differ.
#include <string>

struct EngineStart {
    // The window's size (and the render area's); 0 keeps the window
    // configuration's.
    int width = 0;
    int height = 0;
    // The window's caption; null keeps the one the window opens with.
    const char* caption = nullptr;
    // A neutral grey in the window while the show loads, rather than
    // whatever it held. Presenting it moves a frame-stepped clock on by a
    // frame, so the programs that step the show leave it out.
    bool loadingGrey = false;
    // Registers the exit hook: the teardown at exit and after a fatal error,
    // and "requested exit" on standard output.
    bool exitHook = true;
    // The search paths under ../src/shaders and ../data, and the shader
    // runtime.
    bool resourcePaths = true;
    // When SDL cannot start, start_engine returns false with the reason in
    // its error instead of ending the process with code 1.
    bool returnWhenNoWindow = false;
};

// Runs the start-up. False (error says why) only with returnWhenNoWindow,
// when no window can be opened; every other failure ends the process with
// the window's messages and codes.
bool start_engine(const EngineStart& options, std::string& error);

// Has a frame-stepped show clock move on by one frame with every buffer
// swap, the loading screen's too. start_engine does it first.
void step_show_clock_on_swap();
