#pragma once
// The GL start-up step of a program that draws the show.

// Extensions, the render-target pool (its warnings timed by the scene
// manager's clock), clear colour and render-area viewport.
void init_gl();
