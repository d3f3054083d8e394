// Connecting the solver to a Context.
#pragma once

#include "model/context.h"
#include "solver/solver_state.h"

namespace qw {

// Creates the solver's state for this context (once) and installs the
// solver's steps as the project's hooks: the frequency constants, the
// pulse building and the source and load preparation run whenever a
// project is read or changed.
void InstallSolver(Context& ctx);

// The solver's state of a context; InstallSolver must have run.
inline SolverState& Solver(Context& ctx) { return *ctx.solver; }

// Logging of listings and reports: the log is open and no sweep,
// resonance search or optimizer run is computing.
inline bool Logging(const Context& ctx) { return ctx.log.IsOn() && !ctx.BatchMode; }

}  // namespace qw
