// The model-quality report: the places where a wire model leaves the range
// in which a thin-wire moment method can be trusted, at the project's
// frequency.
//
//  - segments longer than a tenth or shorter than a thousandth of the
//    wavelength;
//  - segments shorter than 4 wire radii (the thin-wire limit);
//  - joined wires whose segment lengths differ more than 5 times, or whose
//    diameters differ more than 5 times;
//  - wires that cross or touch without a joint (closer than the sum of
//    their radii where no end meets an end).
#pragma once

#include <string>
#include <vector>

#include "model/project.h"

namespace qw {

// The findings, one line each; empty when there are none.
std::vector<std::string> ModelQualityFindings(const Project& p);

// The whole report: a heading line with the frequency and wavelength,
// then the findings or "No findings."
std::vector<std::string> ModelQualityReport(const Project& p);

// One line for the main window's text after a file is read.
std::string ModelQualitySummary(const Project& p);

}  // namespace qw
