#pragma once
// Changing the share of the render area the show's pictures are made at.
// The window keeps its size; render targets are re-made at the new size
// between two frames and the final picture is stretched over the render
// area.

// The lowest and highest render scale a user may ask for.
constexpr float MIN_RENDER_SCALE = 0.25f;
constexpr float MAX_RENDER_SCALE = 1.f;

// Sets the window configuration's render scale (clamped to the range
// above) and, when the render-target pool exists, re-makes its idle
// targets at the new size. Call between frames. Returns true when the
// size of the pictures changed.
bool set_render_scale(float scale);
