#pragma once
// Ctrl-C, termination and hang-up requests stop an offline run (capture,
// contact sheet, profile, join) between frames instead of killing it, so
// that it can leave its files as it says it does.

void install_stop_handlers();
bool stop_requested();

