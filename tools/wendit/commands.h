#pragma once
// The developer tool's subcommands. Each takes the arguments after its name
// and returns the process exit code.
#include <string>
#include <vector>

using Args = std::vector<std::string>;

struct WenditCommand {
    const char* name;
    const char* usage;    // arguments, for the help text
    const char* summary;  // one line
    int (*run)(const Args& args);
};

int cmd_timeline(const Args& args);
int cmd_bake(const Args& args);
int cmd_mesh(const Args& args);
int cmd_capture(const Args& args);
int cmd_join(const Args& args);
int cmd_contact(const Args& args);
int cmd_check(const Args& args);
int cmd_profile(const Args& args);
