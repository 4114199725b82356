#pragma once
// The developer tool's subcommands. Each takes the arguments after its name
// and returns the process exit code.
#include <string>
#include <vector>

using Args = std::vector<std::string>;

// What the command's arguments and defaults name in the user's directory:
// an installed wendit works inside its own tree (app/run_place.h) and
// rewrites these into paths from where the user started it.
struct UserPaths {
    const char* options = "";       // options whose value is a path, space-separated ("-o --png")
    int positionalFrom = -1;        // arguments from this index on not starting with '-' are paths; -1 none
    const char* output = nullptr;   // default output: "-o NAME" in the user's directory unless an option is given
    // Installed, with no path given: the installed data tree stands for the
    // default (reading it), or the command is refused (it would write there).
    enum class eInstalled { as_given, installed_data, refused } installed = eInstalled::as_given;
    // A default output that depends on the other arguments (a capture
    // segment is named after its slice); "" for none. Takes precedence
    // over `output`.
    std::string (*defaultOutput)(const std::vector<std::string>& args) = nullptr;
};

struct WenditCommand {
    const char* name;
    const char* usage;    // arguments, for the help text
    const char* summary;  // one line
    int (*run)(const Args& args);
    UserPaths paths = {};
    // `wendit NAME --help`: one line per argument, "  ARG  what it does".
    const char* options = "";
};

int cmd_timeline(const Args& args);
int cmd_bake(const Args& args);
int cmd_mesh(const Args& args);
int cmd_capture(const Args& args);
// The file a capture with these arguments writes when no -o is given ("" for PNG frames only).
std::string capture_default_output(const Args& args);
int cmd_join(const Args& args);
int cmd_contact(const Args& args);
int cmd_check(const Args& args);
int cmd_profile(const Args& args);
int cmd_icon(const Args& args);
