#pragma once
// The baked textures (loading image, checker, font) made once per test
// process in a temporary data tree, whose textures directory is pushed on
// the resource path.
#include <string>

// The data directory ("/tmp/.../data"); bakes on first use.
std::string baked_data_dir();
// Pushes DATA/textures onto the process-wide resource path.
void use_baked_textures();

// Whether this run must find the repository's data tree baked: ./test.sh
// bakes it first and says so (WENDIT_REQUIRE_BAKED=1), so there a test that
// finds a baked file missing fails instead of skipping.
bool baked_tree_required();
