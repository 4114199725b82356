// The programs as a package installs them: PREFIX/games/{morvane,wendit}
// beside PREFIX/share/games/morvane/{data,src}, run from a directory of
// the user's that has nothing of the show in it. They find their tree from
// their own location; the paths the user types stay the user's.
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/run_place.h"
#include "support/run_tool.h"
#include "support/show_run.h"

namespace {
int shell(const std::string& cmd)
{
    return std::system(cmd.c_str());
}

// An installed tree under /tmp, its data the repository's baked tree, and
// an empty directory for the user to work in.
struct InstalledTree {
    InstalledTree() : tree(read_whole_file(WENDIT_SOURCE_DIR "/data/script/markers.txt"))
    {
        prefix = tree.root + "/usr";
        share = prefix + "/share/games/morvane";
        user = tree.root + "/home";
        // Hard links where the file system allows: /proc/self/exe is then the link.
        const std::string games = prefix + "/games";
        shell("mkdir -p '" + games + "' '" + share + "' '" + user + "'");
        for (const char* program : {"morvane", "wendit"})
            shell("ln '" + bin_dir() + "/" + program + "' '" + games + "/' 2>/dev/null || cp '" + bin_dir() + "/" +
                  program + "' '" + games + "/'");
        shell("mv '" + tree.data() + "' '" + share + "/data' && ln -s '" WENDIT_SOURCE_DIR "/src' '" + share +
              "/src'");
    }
    // Runs an installed program from the user's directory.
    ToolRun run(const std::string& program, const std::string& args, const std::string& env = "") const
    {
        return run_tool("cd '" + user + "' && " + env + " '" + prefix + "/games/" + program + "' " + args);
    }
    DataTree tree;
    std::string prefix, share, user;
};
}  // namespace

TEST(RunPlace, OnlyAnExecutableBesideAnInstalledTreeIsInstalled)
{
    InstalledTree t;
    EXPECT_EQ(installed_tree_for(t.prefix + "/games/morvane"), t.share);
    EXPECT_EQ(installed_tree_for(bin_dir() + "/morvane"), "");  // the source tree
    EXPECT_EQ(installed_tree_for("morvane"), "");

    RunPlace place;
    place.installed = true;
    place.userDir = "/home/someone";
    EXPECT_EQ(place.user_path("out/x.mp4"), "/home/someone/out/x.mp4");
    EXPECT_EQ(place.user_path("/tmp/x.mp4"), "/tmp/x.mp4");
    place.installed = false;
    EXPECT_EQ(place.user_path("out/x.mp4"), "out/x.mp4");
}

TEST(InstalledPrograms, FindTheirTreeFromAnywhereAndKeepTheUsersPathsTheUsers)
{
    InstalledTree t;
    ToolRun check = t.run("wendit", "check");
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
    EXPECT_NE(check.out.find("wendit check: " + t.share + "/data: all "), std::string::npos) << check.out;

    // A copy in the user's directory, named relatively, is the one checked
    // (its shader sources beside it, as in any tree).
    shell("mkdir '" + t.user + "/show' && cp -r '" + t.share + "/data' '" + t.user + "/show/data' && ln -s '" +
          WENDIT_SOURCE_DIR "/src' '" + t.user + "/show/src' && rm '" + t.user + "/show/data/textures/checker.jpg'");
    ToolRun mine = t.run("wendit", "check show/data");
    EXPECT_EQ(mine.exitCode, 1);
    EXPECT_NE(mine.out.find("textures/checker.jpg: missing"), std::string::npos) << mine.out;
    EXPECT_NE(mine.out.find(t.user + "/show/data: 1 problem"), std::string::npos) << mine.out;

    // The show reads its marker script from the tree, and a default output
    // lands in the user's directory.
    ToolRun from = t.run("morvane", "--from nosuch");
    EXPECT_EQ(from.exitCode, 2);
    EXPECT_NE(from.err.find("'nosuch' is neither a time"), std::string::npos) << from.err;
    ToolRun icon = t.run("wendit", "icon --size 64");
    ASSERT_EQ(icon.exitCode, 0) << icon.err;
    FIBITMAP* png = FreeImage_Load(FIF_PNG, (t.user + "/morvane.png").c_str(), 0);
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(png), 64u);
    RGBQUAD corner{}, centre{};
    FreeImage_GetPixelColor(png, 0, 0, &corner);
    FreeImage_GetPixelColor(png, 32, 32, &centre);
    EXPECT_EQ(corner.rgbReserved, 0) << "the tile's rounded corner is transparent";
    EXPECT_EQ(centre.rgbReserved, 255);
    FreeImage_Unload(png);

    // A capture segment is named after its slice, in the user's directory too.
    ToolRun segment = t.run("wendit", "capture --from 10 --to 13 --segment 2/3 --dry-run");
    EXPECT_EQ(segment.exitCode, 0) << segment.err;
    EXPECT_NE(segment.out.find("would write " + t.user + "/segment_2_of_3.mkv"), std::string::npos) << segment.out;
    ToolRun join = t.run("wendit", "join nothing.mkv");
    EXPECT_EQ(join.exitCode, 2);
    EXPECT_NE(join.err.find(t.user + "/nothing.mkv"), std::string::npos) << "the segment named where the user is:\n"
                                                                        << join.err;
}

TEST(InstalledPrograms, NeverWriteIntoTheirTreeAndNameWhatIsDamaged)
{
    InstalledTree t;
    ToolRun bake = t.run("wendit", "bake");
    EXPECT_EQ(bake.exitCode, 2);
    EXPECT_NE(bake.err.find("is not written to"), std::string::npos) << bake.err;
    EXPECT_TRUE(std::ifstream(t.share + "/data/script/markers.txt").good());

    ToolRun watch = t.run("morvane", "--watch");
    EXPECT_EQ(watch.exitCode, 2);
    EXPECT_NE(watch.err.find("--watch reloads the sources of a source tree"), std::string::npos) << watch.err;

    // Without a display the show records itself into the user's directory;
    // a directory in the video's place is refused before anything starts.
    mkdir((t.user + "/morvane.mp4").c_str(), 0755);
    ToolRun record = t.run("morvane", "--loop 10 11", "env -u DISPLAY");
    EXPECT_EQ(record.exitCode, 2);
    EXPECT_NE(record.out.find("capturing the show to " + t.user + "/morvane.mp4"), std::string::npos) << record.out;
    EXPECT_NE(record.err.find(t.user + "/morvane.mp4' is a directory"), std::string::npos) << record.err;

    ::unlink((t.share + "/data/textures/fs_vign.jpg").c_str());
    ToolRun damaged = t.run("wendit", "check");
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_NE(damaged.out.find("textures/fs_vign.jpg: missing"), std::string::npos) << damaged.out;

    shell("rm -rf '" + t.share + "/data'");
    ToolRun gone = t.run("wendit", "check");
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_NE(gone.err.find("the installed data tree " + t.share + "/data cannot be entered"), std::string::npos)
        << gone.err;
}
