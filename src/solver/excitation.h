// The solver's excitation and load tables, made from the project's sources
// and loads.
#pragma once

#include "model/context.h"
#include "platform/outcome.h"

namespace qw {

// Rebuilds the excitation table. A source whose pulse lies beyond the last
// pulse is deleted (the last source moves into its slot). A solved matrix
// becomes "factorised, excitation changed".
void PrepareSources(Context& ctx);

// A current source drives a 10000-ohm load added to the matrix and scales
// its excitation in place while solving: before each solution of a project
// with one, the excitation is made again and the matrix filled again.
void PrepareCurrentSources(Context& ctx);

// Rebuilds the load table at the project frequency; the matrix must then be
// filled again. A load that has no impedance at this frequency (a parallel
// R-L-C load without L and C, or an open circuit) fails with a "Load Error"
// naming its number.
Result PrepareLoads(Context& ctx);

}  // namespace qw
