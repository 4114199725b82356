#pragma once
// wendit profile: the show (or a range of it) run offline on the capture's
// frame-stepped runner with every frame, layer scene and pass timed; writes
// DIR/profile.txt (the per-section table, also printed), DIR/frames.csv and
// DIR/frame_times.png. Exit codes as the capture's.
#include <string>
#include <vector>

int run_profile(const std::vector<std::string>& args);
