// The values of an azimuth or zenith cut from the solved currents, with
// the maximum, the front-to-back ratio and the take-off and lobe angles.
#pragma once

#include "fields/far_field.h"
#include "plots/pattern_cut.h"

namespace qw {

// The azimuth cut at `elevation` degrees above the horizon. Every plotted
// position p (0, step, ... up to 360) holds the value at azimuth 360 - p,
// computed in the order of rising azimuth, so a step that does not divide
// 360 still fills every position drawn. The maximum keeps its first
// occurrence (azimuth 0 and 360 count as one direction); the back value is
// the total gain opposite the maximum, whatever component is plotted.
PatternCut ComputeAzimuthCut(const Context& ctx, const FarFieldSetup& setup, int fieldType, float elevation,
                             int step);

// The zenith cut at azimuth `azimuth` (computed at phi = -azimuth): zenith
// angles -90 to +90 over ground, -90 to +270 in free space; position
// theta + 90 holds zenith theta.
PatternCut ComputeZenithCut(const Context& ctx, const FarFieldSetup& setup, int fieldType, float azimuth, int step);

}  // namespace qw
