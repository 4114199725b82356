#pragma once
// The files the show loads and the show's timeline, for `wendit check`.
#include <string>
#include <vector>

#include "check/data_tree_check.h"

std::vector<cAssetEntry> show_asset_list();

// Each change of the show's timeline that names a variable its scene does
// not have (see cSceneComposition::timeline_problems); empty when all are
// found.
std::vector<std::string> show_timeline_problems();
