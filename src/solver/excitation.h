// The solver's excitation and load tables, made from the project's sources
// and loads.
#pragma once

#include "model/context.h"

namespace qw {

// Rebuilds the excitation table. A source whose pulse lies beyond the last
// pulse is deleted (the last source moves into its slot). A solved matrix
// (MatrixState 2) becomes "factorised, excitation changed" (1).
void PrepareSources(Context& ctx);

// Rebuilds the load table at the project frequency; MatrixState = 0.
// A load that has no impedance at this frequency (a parallel R-L-C load
// without L and C, or an open circuit) is reported by its number and sets
// AbortFlag; returns false then.
bool PrepareLoads(Context& ctx);

}  // namespace qw
