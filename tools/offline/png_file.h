#pragma once
// PNG files of captured pictures, each written under a temporary name and
// renamed when complete, so no half-written picture carries a final name.
#include <cstdint>
#include <string>

// width x height BGRA pixels, bottom row first (as GL reads them); the
// alpha is dropped. False with a message when the file cannot be written.
bool write_png_bgra(const std::string& path, const uint8_t* bgra, int width, int height, std::string& error);
// "DIR/frame_000123.png"
std::string png_frame_path(const std::string& dir, int64_t index);
