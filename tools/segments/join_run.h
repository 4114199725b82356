#pragma once
// wendit join: capture segments (`wendit capture --segment/--frames`) made
// into the one video a single `wendit capture` of their range writes. The
// set is checked first (join_check.h) and refused with one line and exit
// code 2, nothing written, when it does not make one capture. H.264
// slices are joined by copying their packets, in frame order, into one
// stream; lossless ones by handing every picture, in frame order, to the
// capture's own frame sink and video writer (the same pictures through the
// same conversion and encoder settings, so the joined video is the single
// capture's). Either way the music of the whole range is encoded once,
// from the decoded samples.
#include <string>
#include <vector>

// Exit codes: 0 done, 1 failure (music, decoder, encoder, disk), 2 bad
// arguments or a set that does not join, 130 interrupted.
int run_join(const std::vector<std::string>& args);
