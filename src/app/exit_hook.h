#pragma once
// The one exit hook: tears the process-wide services down in order (scene
// manager, shader manager, texture manager, render-target pool, resource
// path), shuts SDL down, and prints "requested exit". Registered with
// atexit at start-up; every way out of the show goes through exit().
void exit_hook();

// Registers the exit hook with atexit (once) and arms end_process.
void register_exit_hook();

// Every way out of the show: runs the exit hook now, when it is registered,
// then exit(code). The teardown must not wait for exit() itself: exit()
// first destroys the static objects that libraries made after the hook was
// registered (the GL driver's code generator makes some while the show
// runs), and a teardown that then flushes a frame in progress crashes in
// them. Processes without the hook (the tools) just exit.
[[noreturn]] void end_process(int code);
