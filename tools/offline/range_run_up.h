#pragma once
// The run-up to an offline range: from the start marker up to the range,
// on the range's own frame grid, every frame updated only, except the last
// half second, which is drawn too (not kept), so that what scenes keep from
// drawing one frame to the next is as it is when the show plays through.
// A frame whose next frame fires timeline events is drawn too, its pixels
// masked off: the events' answers may take random numbers from where that
// drawing leaves the shared cursor.
// Stops early when a stop was requested. A segment of the range starts
// at `firstFrame` of its grid: the run-up then goes on, on the same grid, up
// to that frame.
#include <cstdint>

class cShowStepper;

void run_up_to_range(cShowStepper& show, int startMs, int fromMs, int fps, int64_t firstFrame = 0);
