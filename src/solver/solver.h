// Connecting the solver to a Context.
#pragma once

#include "model/context.h"
#include "platform/outcome.h"
#include "solver/solver_state.h"

namespace qw {

// Creates the solver's state for this context (once), with the frequency
// constants of the project's frequency.
void InstallSolver(Context& ctx);

// The solver's state of a context; InstallSolver must have run.
inline SolverState& Solver(Context& ctx) { return *ctx.solver; }

// True when the pulse table was built for the document's geometry.
bool PulsesCurrent(const Context& ctx);
// True when the solution stands for the document as it is now.
bool SolutionCurrent(const Context& ctx);

// Brings the solver's tables up to date with the document: the pulses (and
// after them the excitation and the loads) when the geometry changed, the
// frequency constants and the loads when the frequency changed, the loads,
// the excitation; a changed ground leaves the matrix to be filled again.
// What is up to date is left alone. A failure of the pulses or the loads is
// returned with its message.
Result RefreshSolver(Context& ctx);

// Logging of listings and reports: the log is open and no sweep,
// resonance search or optimizer run is computing.
inline bool Logging(const Context& ctx) { return ctx.log.IsOn() && !ctx.BatchMode; }

}  // namespace qw
