#pragma once
// The window and its GL context.
#include <string>

struct WindowConfig;

// Opens the window with the configuration's size, flags and GL attributes
// (retrying once without multisampling when that was refused), warns about
// the first attribute the driver did not grant, captions the window and
// shows or hides the cursor. Ends the process when SDL cannot start (0) or
// no video mode is had (-1).
void init_sdl(WindowConfig& config);

// The warning block for the first attribute that differs, or "" when all
// nine match (requested and received in the configuration's order).
std::string attribute_mismatch_warning(const int requested[9], const int received[9]);
