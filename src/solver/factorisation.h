// Gaussian elimination with partial pivoting of the interaction matrix, in
// place, and the solution for the current vector.
#pragma once

#include "model/context.h"

namespace qw {

// Factorises rows and columns 1..N of the matrix. The pivot is the row of
// largest squared magnitude in the column, the later row winning a tie; a
// zero pivot is replaced by 1e-25 in the divisor. Calls ShowProgress after
// every block of eight columns and returns false when a stop was requested
// (seen after each block of columns and between the chunks of columns that
// take a panel's steps).
class RowTeam;

// With a team, the rows of each step are shared with its threads; without
// one, a team of the solver's threads is started for the call.
bool FactoriseMatrix(Context& ctx, RowTeam* team = nullptr);

// Solves the factorised system for the right-hand side held in CR + jCI,
// leaving the pulse currents there.
void SolveMatrix(Context& ctx);

}  // namespace qw
