// The constants that depend on the frequency, and the Gauss-Legendre table
// of the potential integrals.
#pragma once

#include <array>

#include "model/context.h"
#include "solver/solver_state.h"

namespace qw {

// Gauss-Legendre rules on [-1/2, 1/2] as (abscissa, weight) pairs, 1-based:
// entries 1-2 the 2-point rule, 3-6 the 4-point rule, 7-14 the 8-point rule.
// An abscissa q stands for the two points 1/2 + q and 1/2 - q of the unit
// interval; only the positive half of each symmetric rule is stored.
inline constexpr std::array<float, 15> kGaussTable = {
    0.0f,                                                      // unused
    0.28867513f, 0.5f,                                         // 2 points
    0.43056816f, 0.17392743f, 0.16999052f, 0.32607257f,        // 4 points
    0.48014492f, 0.05061427f, 0.39833325f, 0.11119052f,        // 8 points
    0.26276621f, 0.15685332f, 0.09171732f, 0.18134189f,
};

// Wavelength, wave number and the kernel constants at this frequency (MHz);
// Everything in single precision.
void SetFrequencyConstants(SolverState& s, float frequencyMHz);

// The same from the project's frequency; the matrix must then be filled
// again.
void SetFrequencyConstants(Context& ctx);

}  // namespace qw
