#include "support/run_tool.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

std::string read_whole_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

ToolRun run_tool(const std::string& command)
{
    static int counter = 0;
    std::string base = testing::TempDir() + "run_tool_" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
    std::string outPath = base + ".out", errPath = base + ".err";
    std::string full = "cd '" WENDIT_BIN_DIR "' && " + command + " </dev/null >'" + outPath + "' 2>'" + errPath + "'";
    int status = std::system(full.c_str());
    ToolRun r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = read_whole_file(outPath);
    r.err = read_whole_file(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return r;
}
