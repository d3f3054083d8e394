// The Smith chart: the reflection coefficient of an impedance against the
// feed-line impedance, drawn in the unit circle with circles of constant
// resistance and arcs of constant reactance.
#pragma once

#include <complex>

#include "platform/canvas.h"

namespace qw {

// Gamma = (Z - Z0) / (Z + Z0). Z0 maps to the centre, a short to -1 (the
// left edge), an open (or R -> infinity) to +1 (the right edge).
std::complex<double> ReflectionOf(double R, double X, double z0);

// The radius of the circle of one SWR: (S - 1) / (S + 1).
double SwrCircleRadius(double swr);

// The user coordinates of the chart on a width x height picture: the unit
// circle with a margin, square in pixels.
void SmithScale(Canvas& canvas);

// The grid: the unit circle and the real axis, circles of constant
// normalised resistance 0.2, 0.5, 1, 2, 5 and arcs of constant normalised
// reactance +-0.2, 0.5, 1, 2, 5 in grey with their values, the caption
// with Z0, and the circle of `swrLimit` dotted in red.
void DrawSmithGrid(Canvas& canvas, double z0, double swrLimit);

}  // namespace qw
