// The show started on a damaged data tree: each fault in a file it loads
// at start gives a line naming the file and the fault before the show
// starts, a non-zero exit for fatal ones, and nothing written into the tree.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/run_tool.h"
#include "support/show_run.h"

namespace {
const char* const LONG_SHOW = "s00 00:00:00,000\nquit 00:10:00,000\n";


// Every file of the data tree with its size, to see that nothing was written.
std::string listing(const DataTree& tree)
{
    std::string out;
    FILE* p = popen(("cd '" + tree.data() + "' && find . -type f -printf '%p %s\\n' | sort").c_str(), "r");
    char buf[512];
    while (p && fgets(buf, sizeof buf, p))
        out += buf;
    if (p)
        pclose(p);
    return out;
}

bool contains(const std::string& s, const std::string& part)
{
    return s.find(part) != std::string::npos;
}
}  // namespace

TEST(DamagedTree, FaultsAtStartAreNamedBeforeTheShowStarts)
{
    DataTree tree(LONG_SHOW);
    const std::string mp3 = read_whole_file(tree.data() + "/music/GLOAM2.mp3");
    const std::string font = read_whole_file(tree.data() + "/textures/fontlist.png");
    const std::string midi = read_whole_file(tree.data() + "/music/GLOAM2.mid");
    ASSERT_FALSE(mp3.empty());
    struct Case {
        const char* what;
        std::string file, bytes;
        int code;
        std::string line;
    } cases[] = {
        {"no start marker", "data/script/markers.txt", "# nothing to start\nquit 00:00:05,000\n", 1,
         "## ERROR: ../data/script/markers.txt has no s00 marker, the show has no start\n"
         "## DEBUG-ERROR in ..\\src\\cSceneManager line 246, event not found! Exiting...\n"},
        {"music not MP3", "data/music/GLOAM2.mp3", std::string(5000, 'x'), 1,
         "## ERROR: Unknown file format (file \"../data/music/GLOAM2.mp3\")\n"},
        {"MIDI not MIDI", "data/music/GLOAM2.mid", "hello", 1,
         "# mid FATAL ERROR: This is not a valid MIDI file! (file \"../data/music/GLOAM2.mid\")\n"},
        {"font not an image", "data/textures/fontlist.png", "this is text", 255,
         "## ERROR: \"../data/textures/fontlist.png\" could not be decoded as an image\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tree.write(c.file, c.bytes);
        const std::string before = listing(tree);
        ShowResult r = run_show(tree);
        EXPECT_EQ(r.exitCode, c.code) << r.err;
        EXPECT_FALSE(r.signalled);
        EXPECT_TRUE(contains(r.err, c.line)) << r.err;
        EXPECT_FALSE(contains(r.err, "demo start")) << r.err;
        EXPECT_EQ(r.out_lines().back(), "requested exit");
        EXPECT_EQ(listing(tree), before);
        // the tree as baked again
        tree.write("data/script/markers.txt", LONG_SHOW);
        tree.write("data/music/GLOAM2.mp3", mp3);
        tree.write("data/music/GLOAM2.mid", midi);
        tree.write("data/textures/fontlist.png", font);
    }

    // Music cut to half its length plays, with a warning naming both lengths.
    tree.write("data/music/GLOAM2.mp3", mp3.substr(0, mp3.size() / 2));
    ShowProcess show(tree);
    ASSERT_TRUE(show.wait_for_stderr("demo start")) << show.err_so_far();
    const std::string err = show.err_so_far();
    EXPECT_TRUE(contains(err, "# WARNING: the music \"../data/music/GLOAM2.mp3\" is ")) << err;
    EXPECT_TRUE(contains(err, " ms long, shorter than the quit marker at 600000 ms")) << err;
    EXPECT_LT(err.find("# WARNING: the music"), err.find("demo start"));
}

namespace {
// The lines of `text` that contain `part`.
int lines_with(const std::string& text, const std::string& part)
{
    int n = 0;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        n += contains(line, part);
    return n;
}
}  // namespace

// A damaged mesh and a missing mesh: each stops the show before it starts
// with one line that names the file as the user would open it, and no
// second error about a file without a name.
TEST(DamagedTree, MeshesAreNamedByTheirPaths)
{
    DataTree tree(LONG_SHOW);
    const std::string meshPath = "../data/models/spikeball2.bzobj";
    std::string mesh = read_whole_file(tree.data() + "/models/spikeball2.bzobj");
    ASSERT_GT(mesh.size(), 16u);
    std::string damaged = mesh;
    damaged[8] = char(damaged[8] ^ 0xFF);  // the zlib stream's header

    struct Case {
        const char* what;
        int code;
        std::string line;  // the one line naming the file
        std::string file;
    } cases[] = {
        {"zlib stream damaged", 1, "# warning: zlib caused an error: -3 (file \"" + meshPath + "\")\n", meshPath},
        {"mesh missing", 255,
         "# ERROR - couldn't find spikeball2.bzobj from BzObjLoader::create (looked in ../src/shaders/, "
         "../src/shaders/comp/, ../data/, ../data/models/, ",
         "spikeball2.bzobj"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.code == 255)
            tree.remove("data/models/spikeball2.bzobj");
        else
            tree.write("data/models/spikeball2.bzobj", damaged);
        ShowResult r = run_show(tree);
        EXPECT_EQ(r.exitCode, c.code) << r.err;
        EXPECT_FALSE(r.signalled);
        EXPECT_TRUE(contains(r.err, c.line)) << r.err;
        EXPECT_EQ(lines_with(r.err, c.file), 1) << r.err;
        EXPECT_FALSE(contains(r.err, "file  ")) << r.err;  // no error about an empty name
        EXPECT_FALSE(contains(r.err, "demo start")) << r.err;
        tree.write("data/models/spikeball2.bzobj", mesh);
    }
}

// A marker-script line the reader cannot take is a warning naming the path
// and the line, once; the show plays the rest of the script to its end.
TEST(DamagedTree, AMarkerScriptTypoIsAWarningAndTheShowPlays)
{
    DataTree tree("s00 00:00:00,000\nsnare2 00:00:00,200\nquit 00:00:01,000\n");
    ShowResult r = run_show(tree);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_FALSE(r.signalled);
    const std::string line =
        "# warning, ../data/script/markers.txt:2: unknown token snare2 in cEventQueue_factory::eventtoken_parse";
    EXPECT_EQ(lines_with(r.err, line), 1) << r.err;
    EXPECT_EQ(lines_with(r.err, "markers.txt"), 1) << r.err;
    EXPECT_LT(r.err.find(line), r.err.find("demo start")) << r.err;
    EXPECT_FALSE(contains(r.err, "## ERROR")) << r.err;
    EXPECT_EQ(r.out_lines().back(), "requested exit");
}
