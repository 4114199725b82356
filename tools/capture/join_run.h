#pragma once
// wendit join: capture segments (`wendit capture --segment/--frames`) made
// into the one video a single `wendit capture` of their range writes. The
// set is checked first (join_check.h) and refused with one line and exit
// code 2, nothing written, when it does not make one capture. Then every
// picture goes, in frame order, through the capture's own frame sink and
// video writer, with the music of the whole range from the decoded samples:
// the same pictures through the same conversion and encoder settings, so
// the joined video's decoded frames equal those of the single capture.
#include <string>
#include <vector>

// Exit codes: 0 done, 1 failure (music, decoder, encoder, disk), 2 bad
// arguments or a set that does not join, 130 interrupted.
int run_join(const std::vector<std::string>& args);
