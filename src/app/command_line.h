#pragma once
// The show's one command-line switch, "--use_kkapture": true when any
// argument after the program name is exactly that text.
bool capture_flag(int argc, const char* const* argv);
