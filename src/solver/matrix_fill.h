// The interaction matrix of the moment method: one complex element for
// every observation pulse I and source pulse J, the vector potential of
// the current on J along pulse I plus the scalar potential of J's charges
// between I's ends, with the ground's images subtracted when there is a
// ground plane.
#pragma once

#include "model/context.h"
#include "solver/solver_state.h"

namespace qw {

// ZR = ZI = 0 over rows and columns 1..N, the tables sized to N.
void ClearMatrix(SolverState& s);

// Fills ZR + jZI of *ctx.solver row by row; ClearMatrix must have run.
// After each row the progress is shown; a stop request seen there ends the
// fill (false). True when every row is filled.
//
// With reuse (the program's way), elements of straight wires are copied by
// symmetry and by translation along the wire instead of being computed;
// reuse = false computes every element.
class RowTeam;

// With a team, the rows are shared with its threads; without one, a team
// of the solver's threads is started for the call.
bool FillMatrix(Context& ctx, bool reuse = true, RowTeam* team = nullptr);

}  // namespace qw
