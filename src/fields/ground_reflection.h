// Real ground under the far field: the surface impedance of the ground and
// the reflection coefficients of the image of one pulse.
#pragma once

#include "fields/complex_float.h"
#include "fields/far_field.h"

namespace qw {

// Sines and cosines of a direction's zenith and azimuth angles.
struct DirectionTrig {
    float sinTheta = 0, cosTheta = 1;
    float sinPhi = 0, cosPhi = 1;
};

// The normalised surface impedance Zg = 1 / sqrt(eps_c) of a ground with
// eps_c = dielectric - j conductivity / (2 pi f 8.85e-6), f in MHz (the
// product is omega eps0 in units of 10^6 rad/s). A ground without
// permittivity gives 0 (a perfect reflector) instead of a division by zero.
ComplexF SurfaceImpedance(float dielectric, float conductivity, float frequencyMHz);

// The two coefficients that weight the image of a pulse: Rv scales the
// whole image, Rd the part along the azimuth unit vector. With Rv = 1 and
// Rd = 0 the image is the perfect one.
struct Reflection {
    ComplexF rv;
    ComplexF rd;
};

// The coefficients for the image of a pulse centred at (x, y, z) seen in
// direction t: the reflection point, the medium found there (always medium
// 1), the radial screen when there are radials and the point lies within
// the medium, then Rv and Rd from the surface impedance.
Reflection GroundReflection(const FarFieldSetup& setup, float x, float y, float z, const DirectionTrig& t);

}  // namespace qw
