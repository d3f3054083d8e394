// The lobe and beam-width lines under a polar plot.
#pragma once

#include <string>
#include <vector>

#include "plots/pattern_cut.h"

namespace qw {

// Windows-1252 degree marks: the captions use the masculine ordinal
// (186), the comparison text the degree sign (176).
inline constexpr char kCaptionDegree = '\xBA';
inline constexpr char kCompareDegree = '\xB0';

// Walks the plotted positions of a cut and returns one line per lobe that
// falls 3 dB below the maximum after its peak:
// " Lobe at : " + angle + degree mark + " ", followed by "(BW:" + width +
// degree mark + ")" when the -3 dB beam it belongs to closes there. A beam
// already at -3 dB or above at the cut's first position reports twice the
// angle at which it closes (the beam is taken as symmetric about the
// start). Lobe angles are display angles for an azimuth cut and
// |zenith - 90| for a zenith cut; beam widths count positions, which are
// degrees. A cut whose values never fall gives no line.
std::vector<std::string> ScanLobes(const PatternCut& cut);

}  // namespace qw
