#include "solver/solver.h"

#include "solver/excitation.h"
#include "solver/frequency_constants.h"
#include "solver/pulses.h"

namespace qw {

void InstallSolver(Context& ctx) {
    if (!ctx.solver) ctx.solver = DeepCopy<SolverState>::Make();
    if (ctx.project.Frequency > 0) SetFrequencyConstants(*ctx.solver, ctx.project.Frequency);
}

bool PulsesCurrent(const Context& ctx) { return ctx.solver && ctx.solver->built.geometry == ctx.revisions.geometry; }

bool SolutionCurrent(const Context& ctx) {
    if (!ctx.solver) return false;
    const SolverState& st = *ctx.solver;
    const Revisions& r = ctx.revisions;
    const BuiltRevisions& b = st.built;
    return st.MatrixState == 2 && b.geometry == r.geometry && b.ground == r.ground && b.frequency == r.frequency &&
           b.sources == r.sources && b.loads == r.loads;
}

Result RefreshSolver(Context& ctx) {
    if (!ctx.solver) InstallSolver(ctx);
    SolverState& st = *ctx.solver;
    const Revisions& r = ctx.revisions;
    if (st.built.frequency != r.frequency) {
        SetFrequencyConstants(ctx);
        st.built.loads = BuiltRevisions::kNever;
    }
    if (st.built.geometry != r.geometry) {
        if (Result built = BuildPulseTable(ctx); !built.completed()) return built;
        st.built.sources = st.built.loads = BuiltRevisions::kNever;
    }
    if (st.built.sources != r.sources) PrepareSources(ctx);
    if (st.built.loads != r.loads)
        if (Result loads = PrepareLoads(ctx); !loads.completed()) return loads;
    if (st.built.ground != r.ground) {
        st.MatrixState = 0;
        st.built.ground = r.ground;
    }
    return {};
}

}  // namespace qw
