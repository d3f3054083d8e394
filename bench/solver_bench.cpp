// Fill, factorisation and solution of a 300-pulse structure: six parallel
// wires about 1 m long with 51 segments each, 2.5 mm thick, 0.4 m apart, at
// 144 MHz, in free space and 2 m over perfect ground.
#include <benchmark/benchmark.h>

#include <memory>

#include "six_wires.h"
#include "solver/factorisation.h"
#include "solver/matrix_fill.h"
#include "solver/solver.h"

namespace {

struct Structure : qw::bench::SixWires {
    explicit Structure(bool ground) : SixWires(ground ? qw::bench::Ground::Perfect : qw::bench::Ground::FreeSpace) {}
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

// The fill in free space on one thread: the reference kernels (every
// integral computed, one element after the other) and the fast ones
// (remembered scalar integrals).
void BM_FillOneThread(benchmark::State& state) {
    Structure s(false);
    qw::Solver(s.ctx).threads = 1;
    qw::Solver(s.ctx).referenceKernels = state.range(0) != 0;
    for (auto _ : state) {
        qw::ClearMatrix(qw::Solver(s.ctx));
        qw::FillMatrix(s.ctx);
        benchmark::DoNotOptimize(qw::Solver(s.ctx).ZR[1][1]);
    }
    state.SetLabel(state.range(0) ? "reference kernels" : "fast kernels");
}
BENCHMARK(BM_FillOneThread)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Argument: 1 for the reference kernel (no vector lanes).
void BM_Factorise(benchmark::State& state) {
    Structure s(false);
    qw::Solver(s.ctx).referenceKernels = state.range(0) != 0;
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
BENCHMARK(BM_Factorise)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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
