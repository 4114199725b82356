#pragma once
// The files the show loads, for `wendit check`.
#include <vector>

#include "check/data_tree_check.h"

std::vector<cAssetEntry> show_asset_list();
