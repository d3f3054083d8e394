// The solver's entry point: fill, loads, factorisation, solution, results.
#pragma once

#include "model/context.h"

namespace qw {

// Computes what MatrixState says is missing: fills the matrix (0), adds the
// loads and factorises it, solves for the excitation (1), then computes
// and reports every source's impedance, SWR, voltage, current and power
// (2: only the results and the report). Clears AbortFlag on entry; a Stop
// during the fill or the factorisation leaves MatrixState at 0. A fault
// (a zero source current, a result that is not finite, too many loads) is
// shown in a "ZMCompute" message and sets AbortFlag.
void ZMCompute(Context& ctx);

}  // namespace qw
