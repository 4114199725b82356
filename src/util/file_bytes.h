#pragma once
// Whole-file reads: loaders read a file into memory once and parse the
// bytes, so tests and fuzzers can hand them bytes directly.
#include <string>
#include <vector>

// False when the file cannot be opened or read; bytes is then empty.
bool read_file_bytes(const std::string& path, std::vector<char>& bytes);
