#pragma once
// The one exit hook: tears the process-wide services down in order (scene
// manager, shader manager, texture manager, render-target pool, resource
// path), shuts SDL down, and prints "requested exit". Registered with
// atexit at start-up; every way out of the show goes through exit().
void exit_hook();

// Registers the exit hook with atexit (once) and as the teardown that
// end_process (util/fatal_exit.h) runs before it exits.
void register_exit_hook();
