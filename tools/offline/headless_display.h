#pragma once
// A display for offline rendering. Where DISPLAY is unset (a server, a CI
// job, a remote shell), a private X server without a screen (Xvfb, with
// Mesa's software GL behind it) is started for this process alone and
// stopped when the process ends, however it ends.
#include <string>

// Leaves DISPLAY alone when it is set; otherwise starts Xvfb with a screen
// of at least width x height and points DISPLAY at it. False with a message
// in `error` when no server could be started.
bool ensure_headless_display(int width, int height, std::string& error);
// Stops the private server, if one was started (also run at exit).
void stop_headless_display();
