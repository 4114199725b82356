#pragma once
// What `wendit profile` writes: the per-section table (text), the per-frame
// figures (CSV) and the plot (PNG, in profile_plot.h).
#include <iosfwd>
#include <string>
#include <vector>

#include "profile/profile_figures.h"

struct ProfileMemory {
    long peakResidentKb = 0;
    double targetMb = 0;   // render targets: colour and depth buffers
    int targets = 0;
    double textureMb = 0;  // loaded textures, base level
    int textures = 0;
    unsigned targetsCreatedInShow = 0;
};

void write_profile_table(std::ostream& out, const std::vector<SectionFigure>& sections,
                         const SectionFigure& whole, const CopyCosts& copies, const ProfileMemory& memory,
                         bool timerQueries);
// One line per pass: its frame's figures (each layer scene's render time among
// them), then the pass's.
void write_profile_csv(std::ostream& out, const std::vector<FrameFigure>& frames);
