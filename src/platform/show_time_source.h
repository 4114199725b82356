#pragma once
// Which clock the show runs on.
//
// Normally the monotonic wall clock. When the environment variable
// WENDIT_FRAME_MS holds a positive number of milliseconds (fractions
// allowed, e.g. 16.667), the show runs on a frame-stepped manual clock
// instead: every presented frame advances demo time by exactly that much,
// and sleeps advance it by the slept amount without waiting.
class iTimeSource;
class cFrameStepTimeSource;

iTimeSource* show_time_source();
// The frame-stepped clock when one is in use, else null.
cFrameStepTimeSource* frame_step_source();
// Parses a WENDIT_FRAME_MS value into microseconds; 0 when it is not a
// positive number (then the wall clock is used).
int parse_frame_step_us(const char* text);
