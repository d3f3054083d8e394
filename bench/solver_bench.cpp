// Fill, factorisation and solution of a 300-pulse structure: six parallel
// wires about 1 m long with 51 segments each, 2.5 mm thick, 0.4 m apart, at
// 144 MHz, in free space and 2 m over perfect ground.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/new_project.h"
#include "platform/scripted_host.h"
#include "solver/excitation.h"
#include "solver/factorisation.h"
#include "solver/frequency_constants.h"
#include "solver/matrix_fill.h"
#include "solver/pulses.h"
#include "solver/solver.h"

namespace {

struct Structure {
    qw::ScriptedHost host;
    qw::Context ctx{host};

    explicit Structure(bool ground) {
        qw::InstallSolver(ctx);
        qw::NewProject(ctx);
        qw::Project& p = ctx.project;
        p.Frequency = 144;
        p.Env.GroundPresent = ground ? qw::kOverGround : qw::kFreeSpace;
        p.Height = ground ? 2.0f : 0.0f;
        for (int w = 1; w <= 6; ++w)
            p.Wires[++p.WireCount] = qw::Wire{51, 0, 0.4f * (w - 1), -0.5f, 0, 0.4f * (w - 1), 0.5f, 0.00125f};
        p.Sources[++p.SourceCount] = qw::Source{25, 0, 1, 0, qw::kVoltageSource};
        qw::SetFrequencyConstants(ctx);
        qw::BuildPulseTable(ctx);
        qw::PrepareSources(ctx);
        qw::PrepareLoads(ctx);
    }
};

void BM_Fill(benchmark::State& state) {
    Structure s(state.range(0) != 0);
    for (auto _ : state) {
        qw::ClearMatrix(qw::Solver(s.ctx));
        qw::FillMatrix(s.ctx);
        benchmark::DoNotOptimize(qw::Solver(s.ctx).ZR[1][1]);
    }
    state.SetLabel(state.range(0) ? "over ground" : "free space");
}
BENCHMARK(BM_Fill)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Factorise(benchmark::State& state) {
    Structure s(false);
    qw::ClearMatrix(qw::Solver(s.ctx));
    qw::FillMatrix(s.ctx);
    const auto filledR = std::make_unique<decltype(qw::SolverState::ZR)>(qw::Solver(s.ctx).ZR);
    const auto filledI = std::make_unique<decltype(qw::SolverState::ZI)>(qw::Solver(s.ctx).ZI);
    for (auto _ : state) {
        state.PauseTiming();
        qw::Solver(s.ctx).ZR = *filledR;
        qw::Solver(s.ctx).ZI = *filledI;
        state.ResumeTiming();
        qw::FactoriseMatrix(s.ctx);
        benchmark::DoNotOptimize(qw::Solver(s.ctx).ZR[300][300]);
    }
}
BENCHMARK(BM_Factorise)->Unit(benchmark::kMillisecond);

void BM_Solve(benchmark::State& state) {
    Structure s(false);
    qw::ClearMatrix(qw::Solver(s.ctx));
    qw::FillMatrix(s.ctx);
    qw::FactoriseMatrix(s.ctx);
    for (auto _ : state) {
        auto& st = qw::Solver(s.ctx);
        st.CR.fill(0);
        st.CI.fill(0);
        st.CI[25] = 1;
        qw::SolveMatrix(s.ctx);
        benchmark::DoNotOptimize(st.CR[1]);
    }
}
BENCHMARK(BM_Solve)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
