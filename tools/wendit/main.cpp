// wendit: the developer tool of the show. It runs the engine's loaders and
// bakers without a display, for the people who write the marker script,
// replace the music or prepare assets.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/run_place.h"
#include "command_help.h"
#include "commands.h"
#include "user_paths.h"

namespace {
// Ranges are given the same way by every command that takes one.
#define RANGE_OPTIONS                                                                             \
    "  --from TIME|MARKER\n      start of the range: seconds (12.5), a time code as in the marker" \
    " script (00:00:12,500) or a marker token (s03); default the start marker s00\n"              \
    "  --to TIME|MARKER\n      end of the range, given the same way; default the quit marker\n"

const WenditCommand COMMANDS[] = {
    {"timeline", "[--markers FILE] [--midi FILE] [--plot FILE.png|FILE.svg [--from TIME|MARKER] [--to TIME|MARKER]"
                 " [--width N] [--music FILE]]",
     "list the show's timeline: marker script and MIDI file merged, in firing order; or draw it all as a picture",
     cmd_timeline, {"--markers --midi --plot --music"},
     "  --markers FILE\n      the marker script (default ../data/script/markers.txt)\n"
     "  --midi FILE\n      the MIDI file (default ../data/music/GLOAM2.mid)\n"
     "  --plot FILE.png|FILE.svg\n      instead of the list, a picture on one time axis: the composition's layers"
     " and animated variables, the markers, the MIDI notes per track and the music's waveform\n" RANGE_OPTIONS
     "  --width N\n      the picture's width in pixels, 800 to 8000 (default 1600); its height is what the lanes need\n"
     "  --music FILE\n      the music drawn beneath (default ../data/music/GLOAM2.mp3)\n"},
    {"bake", "[--data DIR]", "bake the data tree the show plays (default ../data)", cmd_bake,
     {"--data", -1, nullptr, UserPaths::eInstalled::refused},
     "  --data DIR\n      the data tree to bake into (default ../data; required for the installed tool)\n"},
    {"mesh", "info FILE | convert IN.obj OUT.bzobj",
     "report a mesh as the show loads it, or bake an OBJ into the compressed format", cmd_mesh, {"", 1},
     "  info FILE\n      an OBJ or .bzobj mesh loaded as the show does: counts, groups, materials, bounds\n"
     "  convert IN.obj OUT.bzobj\n      the OBJ and its material libraries baked into the compressed format\n"},
    {"capture", "[-o FILE.mp4] [--png DIR] [--from TIME|MARKER] [--to TIME|MARKER] [--fps N] [--solo SCENE] [--size WxH]"
                " [--frames A:B | --segment K/N [--lossless] [-o FILE.mkv]]",
     "render the show offline, frame-exact, to a video with its music (default morvane.mp4) or PNG frames;"
     " a slice of the range to a segment for wendit join",
     cmd_capture, {"-o --png", -1, nullptr, UserPaths::eInstalled::as_given, capture_default_output},
     "  -o FILE.mp4\n      the video (default morvane.mp4; a segment's default is named after its slice)\n"
     "  --png DIR\n      numbered PNG frames into DIR, instead of the video or, with -o, as well\n" RANGE_OPTIONS
     "  --fps N\n      frames per second, 1 to 240 (default 30)\n"
     "  --solo SCENE\n      one layer of the composition alone, by its scene's name\n"
     "  --size WxH\n      frame size, even numbers from 16 to 4096 (default 1280x720)\n"
     "  --frames A:B\n      only frames A to B of the range, to a segment (FILE.mkv) that wendit join copies\n"
     "  --segment K/N\n      slice K of N equal slices of the range, to a segment (FILE.mkv)\n"
     "  --lossless\n      with --frames or --segment: a lossless segment (FFV1) instead of H.264\n"
     "  --dry-run\n      check the arguments and say what would be written, without rendering\n"
     "  --progress-lines\n      progress as plain lines instead of one updated terminal line\n"},
    {"join", "SEGMENT.mkv... [-o FILE.mp4]",
     "check capture segments and join them, with the music of their range, into one video (default morvane.mp4)",
     cmd_join, {"-o", 0, "morvane.mp4"},
     "  SEGMENT.mkv...\n      the segments of one capture, in any order\n"
     "  -o FILE.mp4\n      the joined video (default morvane.mp4)\n"},
    {"contact", "[--from TIME|MARKER] [--to TIME|MARKER] [--count N] [-o FILE.png]",
     "a contact sheet: N frames of the show as labelled thumbnails in a grid (default 24, contact.png)", cmd_contact,
     {"-o", -1, "contact.png"},
     RANGE_OPTIONS "  --count N\n      thumbnails, 1 to 400 (default 24)\n"
                   "  -o FILE.png\n      the sheet (default contact.png)\n"},
    {"check", "[DATA_DIR]", "check every file the show loads (default ../data) and list all problems", cmd_check,
     {"", 0, nullptr, UserPaths::eInstalled::installed_data},
     "  DATA_DIR\n      the data tree to check (default ../data; the installed one for the installed tool);"
     " exit 0 when there is no problem, 1 otherwise\n"},
    {"profile", "[--from TIME|MARKER] [--to TIME|MARKER] [--fps N] [-o DIR]",
     "time every frame, layer scene and pass of the show against its plain-copy floor: table, plot, CSV (default DIR profile)",
     cmd_profile, {"-o", -1, "profile"},
     RANGE_OPTIONS "  --fps N\n      frames per second of show time, 1 to 240 (default 30)\n"
                   "  -o DIR\n      where the table, the plot and the CSV go (default profile)\n"},
    {"icon", "[--size N] [-o FILE.png]", "draw the show's icon for the desktop menu (default 256 pixels, morvane.png)",
     cmd_icon, {"-o", -1, "morvane.png"},
     "  --size N\n      width and height in pixels, 16 to 1024 (default 256)\n"
     "  -o FILE.png\n      the icon (default morvane.png)\n"},
};
#undef RANGE_OPTIONS
constexpr size_t COMMAND_COUNT = sizeof COMMANDS / sizeof COMMANDS[0];

const WenditCommand* find_command(const std::string& name)
{
    for (const WenditCommand& c : COMMANDS)
        if (name == c.name)
            return &c;
    return nullptr;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        print_command_list(COMMANDS, COMMAND_COUNT, stderr);
        return 2;
    }
    const std::string name = argv[1];
    const Args rest(argv + 2, argv + argc);
    if (name == "--version") {
        print_version(stdout);
        return 0;
    }
    if (name == "help" || name == "--help" || name == "-h") {
        if (rest.empty()) {
            print_command_list(COMMANDS, COMMAND_COUNT, stdout);
            return 0;
        }
        if (const WenditCommand* c = rest.size() == 1 ? find_command(rest[0]) : nullptr) {
            print_command_help(*c, stdout);
            return 0;
        }
        std::fprintf(stderr, "wendit help: no command '%s'\n", rest[0].c_str());
        print_command_list(COMMANDS, COMMAND_COUNT, stderr);
        return 2;
    }
    const WenditCommand* c = find_command(name);
    if (!c) {
        std::fprintf(stderr, "wendit: unknown command '%s'\n", name.c_str());
        print_command_list(COMMANDS, COMMAND_COUNT, stderr);
        return 2;
    }
    // Asking for help does nothing else: no tree is looked for, nothing written.
    if (asks_for_help(rest)) {
        print_command_help(*c, stdout);
        return 0;
    }
    RunPlace place;
    std::string error;
    if (!enter_run_place(place, error)) {
        std::fprintf(stderr, "wendit: %s\n", error.c_str());
        return 1;
    }
    Args args = rest;
    if (!rewrite_user_paths(*c, place, args, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    return c->run(args);
}
