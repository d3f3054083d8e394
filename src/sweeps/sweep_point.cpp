#include "sweeps/sweep_point.h"

#include <cmath>

#include "platform/host.h"
#include "solver/excitation.h"
#include "solver/frequency_constants.h"
#include "solver/solver.h"
#include "solver/zm_compute.h"

namespace qw {

Result EvaluatePoint(Context& ctx, float frequency, PointImpedance& result) {
    Project& p = ctx.project;
    SolverState& st = Solver(ctx);
    p.Frequency = frequency;
    SetFrequencyConstants(ctx);
    if (Result loads = PrepareLoads(ctx); !loads.completed()) return loads;
    PrepareCurrentSources(ctx);
    const bool batch = ctx.BatchMode;
    ctx.BatchMode = true;
    const Result solved = ZMCompute(ctx);
    ctx.BatchMode = batch;
    result.R = st.ZinR;
    result.X = st.ZinX;
    result.Pin = st.Pin;
    return solved;
}

void RestoreFrequency(Context& ctx, float frequency) {
    ctx.project.Frequency = frequency;
    SetFrequencyConstants(ctx);
    PrepareLoads(ctx);  // they were prepared at this frequency before the sweep
}

Result CheckSweepBand(float lower, float bound, float step, bool lowerMustBePositive) {
    std::string why;
    if (!(step > 0))
        why = "The frequency step must be greater than 0.";
    else if (lowerMustBePositive && !(lower > 0))
        why = "The lower frequency must be greater than 0.";
    else if (!std::isfinite(lower) || !std::isfinite(bound))
        why = "The frequency range is not valid.";
    else if (lower + step == lower || bound + step == bound)
        why = "The frequency step is too small to move the frequency.";
    if (why.empty()) return {};
    return Result::Failed(FaultMessage(why, "Frequency Range", MessageIcon::Critical));
}

}  // namespace qw
