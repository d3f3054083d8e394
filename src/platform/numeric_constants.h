// Constants every computation shares, in single precision as the solver
// computes.
#pragma once

namespace qw {

// The float nearest to pi: 4 atan(1) computed in single precision.
inline constexpr float kPi = 3.14159265358979323846f;
// Degrees to radians.
inline constexpr float kRad = kPi / 180.0f;

}  // namespace qw
