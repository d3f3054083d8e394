// The taper: one wire replaced by a chain of wires whose segments grow by
// doubling from a short segment at the tapered end(s) to the long
// segments of a middle wire, and whose diameters rise from the small
// diameter at the tip to the large one of the middle wire.
#pragma once

#include <string>
#include <vector>

#include "model/project.h"

namespace qw {

enum class TaperEnds { Both = 0, End1 = 1, End2 = 2 };

// The panel's entries. Diameters and, in dimension mode, segment lengths
// are in the display unit; in wavelength mode the segment lengths are
// fractions of a wavelength. Each pair may be given in either order.
struct TaperRequest {
    double largeDiameter = 0, smallDiameter = 0;
    double largeSegment = 0, smallSegment = 0;
    bool wavelengths = false;
    TaperEnds ends = TaperEnds::Both;
};

struct TaperPlan {
    std::vector<Wire> chain;  // in order from end 1 to end 2
    int steps = 0;            // N, the wires of one tapered end
    std::string error;        // why nothing can be tapered ("" when planned)
    std::string errorTitle;
};

// Plans the chain that replaces wire w; unit and frequency (MHz) convert
// the entries. otherWires and otherSegments are the rest of the table, so
// that a chain beyond 50 wires or 300 segments in all is refused.
//
// With R the ratio of the two segment lengths, N is the n of
// 2^n <= R < 2^(n+1) for n = 1..4, else 5. A tapered end is N one-segment
// wires of s, 2s, ... 2^(N-1)s from the tip inwards; the middle wire keeps
// the rest of the length with the large diameter and an even number of
// segments (at least 2) of about 2^N s. The diameters of a tapered end
// run evenly from the small diameter at the tip towards the large one:
// d_k = small + (k - 1)(large - small)/N, so the middle wire's large
// diameter is the next step after d_N.
TaperPlan PlanTaper(const Wire& w, const TaperRequest& request, int unit, float frequency, int otherWires,
                    int otherSegments, ModelLimits limits = {});

}  // namespace qw
