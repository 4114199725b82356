#pragma once
// GL error checks while the show runs, for developers: with WENDIT_GL_CHECK=1
// in the environment, every image pass (when its shader is unbound), mesh
// draw and scene render is followed by a look at GL's error queue. All
// pending errors are drained and each is printed on standard error with
// what had just run. Without it nothing is checked (glGetError stalls a
// hardware pipeline).
#include <string>

bool gl_checks_on();

// Drains GL's error queue, one line per error:
// "## ERROR: OpenGL error after <what>: <error text>". Returns how many.
// Does nothing (returns 0) unless gl_checks_on().
int gl_check_after(const std::string& what);
