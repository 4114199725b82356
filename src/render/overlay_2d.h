#pragma once
// Drawing over the finished picture in window units (0..1 on both axes,
// origin bottom-left): blended, no depth, no lighting, no texturing. Used by
// the loading screen's fade and the slider panel. end_overlay_2d restores
// every attribute and both matrices that begin_overlay_2d changed.
void begin_overlay_2d();
void end_overlay_2d();
