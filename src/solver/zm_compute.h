// The solver's entry point: fill, loads, factorisation, solution, results.
#pragma once

#include "model/context.h"
#include "platform/outcome.h"

namespace qw {

// Brings the solver up to date with the document (RefreshSolver), then
// computes what is missing: fills the matrix, adds the loads and
// factorises it, solves for the excitation, and computes and reports every
// source's impedance, SWR, voltage, current and power (when solved already:
// only the results and the report). A stop during the fill, the
// factorisation or the report returns Stopped and leaves the matrix to be
// filled again. A fault (a zero source current, a result that is not
// finite, too many loads) returns Failed with its "ZMCompute" message.
Result ZMCompute(Context& ctx);

}  // namespace qw
