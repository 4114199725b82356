#pragma once
// Where a program of the show runs.
//
// The programs name their data and shader sources relative to a working
// directory beside data/: "../data", "../src/shaders". In the source tree
// that directory is bin/, and the programs are run from there as always.
// An installed program (PREFIX/games/morvane, PREFIX/games/wendit) has its
// tree at PREFIX/share/games/morvane, found from the executable's own
// location; it works inside that tree's data/ directory, where the same
// relative names lead to the installed data and shaders, and it remembers
// the directory the user started it in, so that every path the user types
// (or a default output such as "morvane.mp4") still means a place there.
// An installed program never writes into its tree.
#include <string>

struct RunPlace {
    bool installed = false;
    std::string userDir;  // the working directory the program was started in
    std::string treeDir;  // installed: the tree holding data/ and src/shaders/

    // The installed tree's data directory ("" in the source tree).
    std::string data_dir() const { return installed ? treeDir + "/data" : std::string(); }
    // A path the user typed, as a path that means the same place from the
    // directory the program works in: made absolute against userDir for an
    // installed program, unchanged in the source tree.
    std::string user_path(const std::string& path) const;
};

// Where the installed tree of an executable at exePath lies (its directory's
// "../share/games/morvane", "." and ".." resolved), or "" when there is no
// such directory: then the executable runs in a source tree.
std::string installed_tree_for(const std::string& exePath);

// Decides where the running program is and, when it is installed, changes
// into its tree's data directory. False with a one-line reason when the
// installed tree cannot be entered (its data directory missing or closed).
bool enter_run_place(RunPlace& place, std::string& error);
