// wendit's own help: the version, the command list and every command's
// arguments, printed on standard output with exit 0 and nothing else done.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>
#include <sys/stat.h>

#include "support/run_tool.h"

namespace {
// The command names of `wendit help`, in its order.
std::vector<std::string> listed_commands(const std::string& list)
{
    std::vector<std::string> names;
    std::istringstream in(list.substr(list.find("commands:\n")));
    for (std::string line; std::getline(in, line);)
        if (line.size() > 2 && line.compare(0, 2, "  ") == 0 && line[2] != ' ')
            names.push_back(line.substr(2, line.find(' ', 2) - 2));
    return names;
}

bool exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}
}  // namespace

TEST(WenditHelp, VersionIsTheProjectsVersion)
{
    ToolRun r = run_tool("./wendit --version");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, std::string("wendit (morvane) ") + MORVANE_VERSION + "\n");
    EXPECT_EQ(r.err, "");
}

TEST(WenditHelp, EveryCommandExplainsItsArgumentsAndDoesNothingElse)
{
    ToolRun list = run_tool("./wendit help");
    ASSERT_EQ(list.exitCode, 0);
    const std::vector<std::string> names = listed_commands(list.out);
    ASSERT_GE(names.size(), 10u) << list.out;
    EXPECT_EQ(names.back(), "help");
    const std::string dir = testing::TempDir() + "wendit_help";
    ASSERT_EQ(run_tool("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").exitCode, 0);
    for (const std::string& name : names) {
        if (name == "help")
            continue;
        SCOPED_TRACE(name);
        // -o into an empty directory: a command that ran would write there.
        for (const std::string& ask : {std::string(" --help"), " -o '" + dir + "/out' -h"}) {
            ToolRun r = run_tool("./wendit " + name + ask);
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(r.out.rfind("usage: wendit " + name + " ", 0), 0u) << r.out;
            EXPECT_NE(r.out.find("  -h, --help\n"), std::string::npos) << r.out;
        }
        EXPECT_EQ(run_tool("./wendit help " + name).out, run_tool("./wendit " + name + " --help").out);
    }
    EXPECT_FALSE(exists(dir + "/out"));
    EXPECT_NE(run_tool("./wendit capture --help").out.find("  --segment K/N\n"), std::string::npos);

    ToolRun unknown = run_tool("./wendit help nothing");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("wendit help: no command 'nothing'"), std::string::npos) << unknown.err;
    EXPECT_EQ(unknown.out, "");
}
