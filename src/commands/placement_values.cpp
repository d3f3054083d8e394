#include "commands/placement_values.h"

#include <cmath>

namespace qw {

namespace {
constexpr double kDegrees = 180.0 / 3.14159265358979323846;
}

Polar ToPolar(double re, double im) {
    Polar p;
    p.magnitude = std::hypot(re, im);
    p.degrees = (re == 0 && im == 0) ? 0 : std::atan2(im, re) * kDegrees;
    if (p.degrees == -180) p.degrees = 180;
    return p;
}

Rectangular ToRectangular(double magnitude, double degrees) {
    const double a = degrees / kDegrees;
    return {magnitude * std::cos(a), magnitude * std::sin(a)};
}

int LoadKindOf(bool rlc, bool parallel) { return (rlc ? 2 : 0) + (parallel ? 1 : 0); }

}  // namespace qw
