#include "solver/frequency_constants.h"

#include <cmath>

#include "platform/numeric_constants.h"

namespace qw {

void SetFrequencyConstants(SolverState& s, float frequencyMHz) {
    FrequencyConstants& f = s.freq;
    f.Lambda = 299.8f / frequencyMHz;
    f.S0 = 0.001f * f.Lambda;
    f.M = 4.77783352f * f.Lambda;
    f.SRM = 0.0001f * f.Lambda;
    f.K = 2.0f * kPi / f.Lambda;
    f.W2 = f.K * f.K / 2.0f;
}

void SetFrequencyConstants(Context& ctx) {
    SolverState& st = *ctx.solver;
    SetFrequencyConstants(st, ctx.project.Frequency);
    st.built.frequency = ctx.revisions.frequency;
    st.MatrixState = 0;
}

}  // namespace qw
