#pragma once
// Small GL helpers shared by everything that draws to the window.

// Sets the viewport to the window's render area.
void apply_render_viewport();
// Swaps the window's buffers; a frame-stepped clock moves on by one frame.
void swap_buffers();
// Points reads (glReadPixels) at the buffer the window is drawn into: the
// back buffer of a double-buffered window, or the colour attachment of the
// framebuffer a compatibility layer (SDL 1.2 over SDL2) draws the window
// into, where naming GL_BACK is an error. Call it with the window bound.
void read_from_window_draw_buffer();
