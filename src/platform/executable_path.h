#pragma once
// Where the running program lives, and starting another program beside it.
#include <string>
#include <vector>

// The absolute path of the running program's executable, symbolic links
// resolved; "" when the system cannot tell.
std::string executable_path();

// The process's working directory, "" when it cannot be read.
std::string working_directory();

// Runs the program at `path` with `args` (argv[1..]), standard streams
// shared, and waits for it: its exit code, 128 + the signal when a signal
// ended it, or -1 with `error` set when it could not be started.
int run_program(const std::string& path, const std::vector<std::string>& args, std::string& error);
