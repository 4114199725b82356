#pragma once
// Small GL helpers shared by everything that draws to the window.

// Sets the viewport to the window's render area.
void apply_render_viewport();
// Swaps the window's buffers; a frame-stepped clock moves on by one frame.
void swap_buffers();
