// The near fields at one point, summed over the pulses and, over ground,
// their images; and the test for a point on a wire, where the potentials
// are singular.
#pragma once

#include <array>

#include "solver/solver_state.h"

namespace qw {

// Three complex Cartesian components (x, y, z), real and imaginary parts.
struct FieldVector {
    std::array<float, 3> re{};
    std::array<float, 3> im{};
};

// The electric field E = -j C S at (x, y, z), C = M / S0: per axis the
// vector potential along a displacement of 0.002 lambda and the difference
// of the scalar potentials a quarter of it either side. Volts per metre
// for the solved currents, before any power scale. `ground`: add the
// image pass.
FieldVector ElectricFieldAt(const SolverState& s, bool ground, float x, float y, float z);

// The curl of the vector potential at (x, y, z) as differences across
// 0.001 lambda, not yet divided by 0.001 lambda and by 4 pi (the magnetic
// field scale holds those factors).
FieldVector MagneticCurlAt(const SolverState& s, bool ground, float x, float y, float z);

// The wire whose current-carrying segment (or its image over ground) passes
// within the wire's radius of (x, y, z), or within 1E-05 m of it for a
// thinner wire; 0 when the point is clear of every wire.
int WireAtPoint(const SolverState& s, bool ground, float x, float y, float z);

}  // namespace qw
