// The values of the placement window's panels: a source's excitation as
// real and imaginary parts or as magnitude and phase, and a load's kind
// from its impedance type and its connection.
#pragma once

namespace qw {

struct Rectangular {
    double re = 0, im = 0;
};
struct Polar {
    double magnitude = 0;
    double degrees = 0;  // (-180, 180]
};

// Magnitude and phase of re + j im; the phase lies in the quadrant of the
// point (0 for the origin).
Polar ToPolar(double re, double im);
Rectangular ToRectangular(double magnitude, double degrees);

// The load kind of an R-L-C or real/imaginary load, series or parallel.
int LoadKindOf(bool rlc, bool parallel);
inline bool IsRlcKind(int kind) { return kind == 2 || kind == 3; }
inline bool IsParallelKind(int kind) { return kind == 1 || kind == 3; }

}  // namespace qw
