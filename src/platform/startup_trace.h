#pragma once
// Start-up milestones for the start-up benchmark: with WENDIT_STARTUP_TRACE
// set in the environment, each mark writes "# startup-trace NAME USEC" to
// standard error, USEC being the monotonic clock in microseconds (the same
// clock the benchmark reads before it starts the program). Silent otherwise.
void startup_mark(const char* name);
