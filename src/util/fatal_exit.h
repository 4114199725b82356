#pragma once
// The way out of the process after a fatal error, for every loader and
// service that can fail that way. It prints nothing itself (the caller has
// said what went wrong); it runs the teardown the program registered at
// start-up, once, and exits with the given code. A process that registered
// none (the tools) just exits.
//
// The teardown must not wait for exit() itself: exit() first destroys the
// static objects that libraries made after the teardown was registered (the
// GL driver's code generator makes some while the show runs), and a teardown
// that then flushes a frame in progress crashes in them.

// Registers the teardown end_process runs; null clears it.
void set_exit_teardown(void (*teardown)());

// Runs the registered teardown (the first time only), then exit(code).
[[noreturn]] void end_process(int code);
