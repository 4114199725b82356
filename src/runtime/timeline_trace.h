#pragma once
// The timeline trace: with WENDIT_TIMELINE_TRACE set in the environment,
// standard error gets one line per frame, per fired event and per seek:
//     # timeline-trace frame DEMO_MS music MUSIC_MS
//     # timeline-trace event TIME_MS NAME
//     # timeline-trace seek DEMO_MS music MUSIC_MS
// MUSIC_MS is the position the music plays next (-1 without music). With
// the frame-stepped clock this shows exactly what a run played; the
// end-to-end tests read it. Silent otherwise.
//
// With WENDIT_SWAP_TRACE set, one more line after each buffer swap:
//     # swap-trace DEMO_MS MONOTONIC_US
// the demo time the picture just sent to the screen shows, and when the
// swap returned on the system's monotonic clock (CLOCK_MONOTONIC), for a
// measurement that pairs the picture with what is heard.
class cEvent;
class cSceneManager;

bool timeline_trace_on();
void trace_frame(cSceneManager& sm);
void trace_event(const cEvent* e);
void trace_seek(cSceneManager& sm, int ms);
void trace_swap(cSceneManager& sm);
// The position in ms the music plays next, as the trace reports it; -1
// without music.
int music_ms(cSceneManager& sm);
