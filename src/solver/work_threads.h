// Threads for one solution's matrix fill.
#pragma once

#include "solver/solver_state.h"

namespace qw {

// One for the reference kernels, else the solver's setting, else every
// core (one below 48 pulses).
int WorkThreads(const SolverState& s);

}  // namespace qw
