// wendit: the developer tool of the show. It runs the engine's loaders and
// bakers without a display, for the people who write the marker script,
// replace the music or prepare assets.
#include <cstdio>
#include <cstring>

#include "commands.h"

namespace {
const WenditCommand COMMANDS[] = {
    {"timeline", "[--markers FILE] [--midi FILE]",
     "list the show's timeline: marker script and MIDI file merged, in firing order", cmd_timeline},
    {"bake", "[--data DIR]", "bake the data tree the show plays (default ../data)", cmd_bake},
    {"mesh", "info FILE | convert IN.obj OUT.bzobj",
     "report a mesh as the show loads it, or bake an OBJ into the compressed format", cmd_mesh},
    {"capture", "[-o FILE.mp4] [--png DIR] [--from TIME|MARKER] [--to TIME|MARKER] [--fps N] [--solo SCENE] [--size WxH]"
                " [--frames A:B | --segment K/N [-o FILE.mkv]]",
     "render the show offline, frame-exact, to a video with its music (default morvane.mp4) or PNG frames;"
     " a slice of the range to a lossless segment",
     cmd_capture},
    {"join", "SEGMENT.mkv... [-o FILE.mp4]",
     "check capture segments and join them into the video one capture of their range writes (default morvane.mp4)",
     cmd_join},
    {"contact", "[--from TIME|MARKER] [--to TIME|MARKER] [--count N] [-o FILE.png]",
     "a contact sheet: N frames of the show as labelled thumbnails in a grid (default 24, contact.png)", cmd_contact},
    {"check", "[DATA_DIR]", "check every file the show loads (default ../data) and list all problems", cmd_check},
    {"profile", "[--from TIME|MARKER] [--to TIME|MARKER] [--fps N] [-o DIR]",
     "time every frame, layer scene and pass of the show against its plain-copy floor: table, plot, CSV (default DIR profile)",
     cmd_profile},
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
    for (const WenditCommand& c : COMMANDS)
        if (!std::strcmp(name, c.name))
            return c.run(Args(argv + 2, argv + argc));
    std::fprintf(stderr, "wendit: unknown command '%s'\n", name);
    print_help(stderr);
    return 2;
}
