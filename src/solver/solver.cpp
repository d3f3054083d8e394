#include "solver/solver.h"

#include <cmath>

#include "solver/excitation.h"
#include "solver/frequency_constants.h"
#include "solver/pulses.h"

namespace qw {

void InstallSolver(Context& ctx) {
    if (!ctx.solver) {
        ctx.solver = std::make_shared<SolverState>();
        ctx.solver->Pi = 4.0f * std::atan(1.0f);
    }
    ctx.hooks.SetFrequencyConstants = [](Context& c) { SetFrequencyConstants(c); };
    ctx.hooks.BuildPulseTable = [](Context& c) { BuildPulseTable(c); };
    ctx.hooks.PrepareSources = [](Context& c) { PrepareSources(c); };
    ctx.hooks.PrepareLoads = [](Context& c) { PrepareLoads(c); };
    if (ctx.project.Frequency > 0) SetFrequencyConstants(*ctx.solver, ctx.project.Frequency);
}

}  // namespace qw
