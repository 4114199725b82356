#pragma once
// Checks a data tree before the show plays it: every file of a list (what
// the show loads, by who loads it) is opened, read and decoded with the
// show's own readers, and every problem found is collected, so that one run
// reports all of them instead of the show stopping at the first.
#include <string>
#include <vector>

enum class eAssetKind {
    marker_script,  // needs s00 and quit; its warnings count as problems
    music,          // an MP3 at least as long as the quit marker's time
    midi,
    image,          // decodes, 24 or 32 bits per pixel
    mesh,           // OBJ or compressed mesh that loads
    morph_pair,     // mesh `path` and its morph target `second`: same vertex count
    text,           // a shader source: readable, not empty
};

struct cAssetEntry {
    const char* who;   // the scene or part of the show that loads it
    eAssetKind kind;
    std::string path;  // relative to the data directory
    std::string second = "";
};

struct cCheckReport {
    std::vector<std::string> problems;  // "path: what is wrong"
    int files = 0;                      // files looked at
};

// Checks entries in order (the marker script before the music, whose
// length is compared with the quit marker's time).
cCheckReport check_data_tree(const std::string& dataDir, const std::vector<cAssetEntry>& entries);
