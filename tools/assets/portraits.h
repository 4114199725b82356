#pragma once
// The people of the credits and the head of the closing section, drawn
// with pen strokes. Every control point is moved a little by `seed`, so
// successive seeds give the line boil of a hand-drawn animation.
#include "assets/ink.h"

// "kesmo": a round face under short spiky hair, round glasses, a grin.
void draw_kesmo(Ink& ink, Pt centre, float size, unsigned seed);
// "drulan": a long face with long hair, a beard and headphones.
void draw_drulan(Ink& ink, Pt centre, float size, unsigned seed);
// The flashing head: a soft filled silhouette with a tall bent cap, bright
// outlines and features; meant as light (coverage becomes alpha).
void draw_light_head(Ink& ink, Pt centre, float size);
