// Forward gain and front-to-back ratio at one direction, from the solved
// currents.
#pragma once

#include <optional>

#include "model/context.h"

namespace qw {

// The gain (dBi, or dBd per the options) at (azimuth, 90 - elevation) and,
// in frontToBack, the gain there less the gain at azimuth + 180 degrees.
// The ground and the gain normaliser are prepared for the current
// frequency and solution. With no input power (0 or less): nullopt (the
// caller says "Power is Zero"), and frontToBack left as it was.
std::optional<float> GainAndFrontToBack(Context& ctx, float azimuth, float elevation, float& frontToBack);

}  // namespace qw
