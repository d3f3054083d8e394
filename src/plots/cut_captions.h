// The caption lines written under a polar plot (and to the log).
#pragma once

#include <string>
#include <vector>

#include "model/project.h"
#include "plots/pattern_cut.h"

namespace qw {

struct CutCaptions {
    std::vector<std::string> lines;  // from the top left, in order
    std::string zeroDb;              // " 0 dB = ...", bold at the top right
};

// The project's name with the plane and field, the frequency, the height
// and ground, the cut angle, the maximum, the F/B (azimuth cuts) and the
// lobe lines, each Windows-1252 text.
CutCaptions MakeCutCaptions(const Project& project, const PatternCut& cut, const std::vector<std::string>& lobeLines);

}  // namespace qw
