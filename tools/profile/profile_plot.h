#pragma once
// The profiler's plot: frame time over the run as a line, the pass floor as
// a filled area beneath it, one and a half times the floor dotted, the
// sections shaded in turn and named along the top, a millisecond scale on
// the left and the demo time along the bottom.
#include <string>
#include <vector>

#include "profile/profile_figures.h"

bool write_profile_plot(const std::string& path, const std::vector<FrameFigure>& frames,
                        const std::vector<SectionFigure>& sections, std::string& error);
