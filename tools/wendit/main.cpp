// wendit: the developer tool of the show. It runs the engine's loaders and
// bakers without a display, for the people who write the marker script,
// replace the music or prepare assets.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/run_place.h"
#include "commands.h"
#include "user_paths.h"

namespace {
const WenditCommand COMMANDS[] = {
    {"timeline", "[--markers FILE] [--midi FILE]",
     "list the show's timeline: marker script and MIDI file merged, in firing order", cmd_timeline,
     {"--markers --midi"}},
    {"bake", "[--data DIR]", "bake the data tree the show plays (default ../data)", cmd_bake,
     {"--data", -1, nullptr, UserPaths::eInstalled::refused}},
    {"mesh", "info FILE | convert IN.obj OUT.bzobj",
     "report a mesh as the show loads it, or bake an OBJ into the compressed format", cmd_mesh, {"", 1}},
    {"capture", "[-o FILE.mp4] [--png DIR] [--from TIME|MARKER] [--to TIME|MARKER] [--fps N] [--solo SCENE] [--size WxH]"
                " [--frames A:B | --segment K/N [--lossless] [-o FILE.mkv]]",
     "render the show offline, frame-exact, to a video with its music (default morvane.mp4) or PNG frames;"
     " a slice of the range to a segment for wendit join",
     cmd_capture, {"-o --png", -1, nullptr, UserPaths::eInstalled::as_given, capture_default_output}},
    {"join", "SEGMENT.mkv... [-o FILE.mp4]",
     "check capture segments and join them into the video one capture of their range writes (default morvane.mp4)",
     cmd_join, {"-o", 0, "morvane.mp4"}},
    {"contact", "[--from TIME|MARKER] [--to TIME|MARKER] [--count N] [-o FILE.png]",
     "a contact sheet: N frames of the show as labelled thumbnails in a grid (default 24, contact.png)", cmd_contact,
     {"-o", -1, "contact.png"}},
    {"check", "[DATA_DIR]", "check every file the show loads (default ../data) and list all problems", cmd_check,
     {"", 0, nullptr, UserPaths::eInstalled::installed_data}},
    {"profile", "[--from TIME|MARKER] [--to TIME|MARKER] [--fps N] [-o DIR]",
     "time every frame, layer scene and pass of the show against its plain-copy floor: table, plot, CSV (default DIR profile)",
     cmd_profile, {"-o", -1, "profile"}},
    {"icon", "[--size N] [-o FILE.png]", "draw the show's icon for the desktop menu (default 256 pixels, morvane.png)",
     cmd_icon, {"-o", -1, "morvane.png"}},
};

void print_help(FILE* out)
{
    std::fprintf(out, "usage: wendit COMMAND [ARGS]\n\ncommands:\n");
    for (const WenditCommand& c : COMMANDS)
        std::fprintf(out, "  %s %s\n      %s\n", c.name, c.usage, c.summary);
    std::fprintf(out, "  help\n      this text\n");
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        print_help(stderr);
        return 2;
    }
    const char* name = argv[1];
    if (!std::strcmp(name, "help") || !std::strcmp(name, "--help") || !std::strcmp(name, "-h")) {
        print_help(stdout);
        return 0;
    }
    for (const WenditCommand& c : COMMANDS) {
        if (std::strcmp(name, c.name))
            continue;
        RunPlace place;
        std::string error;
        if (!enter_run_place(place, error)) {
            std::fprintf(stderr, "wendit: %s\n", error.c_str());
            return 1;
        }
        Args args(argv + 2, argv + argc);
        if (!rewrite_user_paths(c, place, args, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
        return c.run(args);
    }
    std::fprintf(stderr, "wendit: unknown command '%s'\n", name);
    print_help(stderr);
    return 2;
}
