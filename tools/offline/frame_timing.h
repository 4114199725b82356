#pragma once
// The one rounding rule of offline capture.
//
// Frame n of a capture that starts at demo time `from` (ms) at `fps` frames
// per second shows demo time from + floor(n * 1000 / fps) ms: whole
// milliseconds, as the demo clock counts, rounded down. The same rule holds
// for negative n (the frames before the range that the capture steps
// through without drawing), so two captures whose start times lie on each
// other's frame grid show the same times.
//
// The music of frame n begins at sample floor(from * rate / 1000) +
// floor(n * rate / fps): the first sample is the one the player lands on
// when seeked to `from`, and the sound of N frames is floor(N * rate / fps)
// samples long, the same length as the pictures within one sample.
#include <cstdint>

inline int64_t floor_div(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

inline int64_t frame_time_ms(int64_t from, int64_t n, int fps)
{
    return from + floor_div(n * 1000, fps);
}

// Frames whose time lies before `to`: ceil((to - from) * fps / 1000).
inline int64_t frame_count(int64_t from, int64_t to, int fps)
{
    if (to <= from)
        return 0;
    return floor_div((to - from) * fps + 999, 1000);
}

inline int64_t first_sample(int64_t from, int rate)
{
    return floor_div(from * rate, 1000);
}

// Samples from the start of the capture to the start of frame n.
inline int64_t samples_before_frame(int64_t n, int fps, int rate)
{
    return floor_div(n * rate, fps);
}
