#include "solver/frequency_constants.h"

#include <cmath>

namespace qw {

void SetFrequencyConstants(SolverState& s, float frequencyMHz) {
    s.Pi = 4.0f * std::atan(1.0f);
    FrequencyConstants& f = s.freq;
    f.Lambda = 299.8f / frequencyMHz;
    f.S0 = 0.001f * f.Lambda;
    f.M = 4.77783352f * f.Lambda;
    f.SRM = 0.0001f * f.Lambda;
    f.K = 2.0f * s.Pi / f.Lambda;
    f.W2 = f.K * f.K / 2.0f;
}

void SetFrequencyConstants(Context& ctx) {
    SetFrequencyConstants(*ctx.solver, ctx.project.Frequency);
    ctx.project.MatrixState = 0;
}

}  // namespace qw
