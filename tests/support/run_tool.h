#pragma once
// Runs one of the project's programs from bin/ and collects what it printed.
#include <string>

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `command` through the shell in bin/, standard input closed.
ToolRun run_tool(const std::string& command);

// The whole file as bytes; empty when it cannot be read.
std::string read_whole_file(const std::string& path);
