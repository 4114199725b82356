#pragma once
// wendit contact: the show's contact sheet. Exit codes as wendit capture.
#include <string>
#include <vector>

int run_contact(const std::vector<std::string>& args);
