#pragma once
// Small GL helpers shared by everything that draws to the window.

// Sets the viewport to the window's render area.
void apply_render_viewport();
// Swaps the window's buffers, then runs the swap listener.
void swap_buffers();
// What runs after every swap: the program's start-up has the frame-stepped
// clock move on by one frame there. Null: nothing runs.
using SwapListener = void (*)();
void set_swap_listener(SwapListener listener);
// Points reads (glReadPixels) at the buffer the window is drawn into: the
// back buffer of a double-buffered window, or the colour attachment of the
// framebuffer a compatibility layer (SDL 1.2 over SDL2) draws the window
// into, where naming GL_BACK is an error. Call it with the window bound.
void read_from_window_draw_buffer();
