// The stages of one computation on each benchmark antenna (bench/antennas.h):
// the fill, the factorisation, the solution, the far field's sums over the
// default grid (91 zenith x 181 azimuth directions), the number texts of
// that table, and the whole Far Field command with its lines. Argument:
// the antenna's index in kAntennas.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "antennas.h"
#include "fields/far_field.h"
#include "fields/far_field_table.h"
#include "model/format_mask.h"
#include "solver/factorisation.h"
#include "solver/matrix_fill.h"
#include "solver/zm_compute.h"

namespace {

using qw::bench::BenchAntenna;

void Antennas(benchmark::internal::Benchmark* b) {
    for (int a = 0; a < qw::bench::kAntennaCount; ++a) b->Arg(a);
}

void BM_StageFill(benchmark::State& state) {
    BenchAntenna s(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        qw::ClearMatrix(qw::Solver(s.ctx));
        qw::FillMatrix(s.ctx);
        benchmark::DoNotOptimize(qw::Solver(s.ctx).ZR[1][1]);
    }
    state.SetLabel(s.Label());
}
BENCHMARK(BM_StageFill)->Apply(Antennas)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StageFactorise(benchmark::State& state) {
    BenchAntenna s(static_cast<int>(state.range(0)));
    qw::SolverState& st = qw::Solver(s.ctx);
    qw::ClearMatrix(st);
    qw::FillMatrix(s.ctx);
    const auto filledR = std::make_unique<decltype(qw::SolverState::ZR)>(st.ZR);
    const auto filledI = std::make_unique<decltype(qw::SolverState::ZI)>(st.ZI);
    for (auto _ : state) {
        state.PauseTiming();
        st.ZR = *filledR;
        st.ZI = *filledI;
        state.ResumeTiming();
        qw::FactoriseMatrix(s.ctx);
        benchmark::DoNotOptimize(st.ZR[1][1]);
    }
    state.SetLabel(s.Label());
}
BENCHMARK(BM_StageFactorise)->Apply(Antennas)->Unit(benchmark::kMillisecond)->UseRealTime();

// The solution for the antenna's sources, on the factors.
void BM_StageSolve(benchmark::State& state) {
    BenchAntenna s(static_cast<int>(state.range(0)));
    s.ctx.BatchMode = true;
    qw::ZMCompute(s.ctx);
    qw::SolverState& st = qw::Solver(s.ctx);
    const auto cr = st.CR, ci = st.CI;
    for (auto _ : state) {
        st.CR.fill(0);
        st.CI.fill(0);
        for (int p = 1; p <= st.pulses.N; ++p) st.CI[p] = ci[p] != 0 ? 1.0f : 0.0f;
        qw::SolveMatrix(s.ctx);
        benchmark::DoNotOptimize(st.CR[1]);
    }
    benchmark::DoNotOptimize(cr);
    state.SetLabel(s.Label());
}
BENCHMARK(BM_StageSolve)->Apply(Antennas)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A solved antenna.
struct Solved : BenchAntenna {
    explicit Solved(int index) : BenchAntenna(index) {
        ctx.BatchMode = true;
        qw::ZMCompute(ctx);
        ctx.BatchMode = false;
    }
};

// The field sums of every direction of the default grid.
void BM_StageFarField(benchmark::State& state) {
    Solved s(static_cast<int>(state.range(0)));
    qw::FarFieldSetup setup;
    if (!qw::PrepareFarField(s.ctx, setup, true)) {
        state.SkipWithError("no input power");
        return;
    }
    for (auto _ : state) {
        float sum = 0;
        for (int a = 0; a <= 180; ++a)
            for (int z = 0; z <= 90; ++z) sum += qw::FieldAtDirection(s.ctx, setup, 2.0f * a, 2.0f * z - 90.0f);
        benchmark::DoNotOptimize(sum);
    }
    state.SetLabel(s.Label());
}
BENCHMARK(BM_StageFarField)->Apply(Antennas)->Unit(benchmark::kMillisecond)->UseRealTime();

// The number texts of the far-field table: the three gains of every row
// through the table's mask.
void BM_StageNumberTexts(benchmark::State& state) {
    Solved s(static_cast<int>(state.range(0)));
    std::vector<qw::FarFieldRow> rows;
    qw::FarFieldOutput output;
    output.rows = [&rows](const qw::FarFieldRow& r) { rows.push_back(r); };
    s.ctx.farField = qw::FarFieldRequest{};
    qw::ComputeFarField(s.ctx, output);
    for (auto _ : state) {
        std::size_t length = 0;
        for (const qw::FarFieldRow& r : rows)
            for (const float g : {r.gains.vertical, r.gains.horizontal, r.gains.total})
                length += qw::Format(g, " #0.00#;-#0.00#").size();
        benchmark::DoNotOptimize(length);
    }
    state.SetLabel(s.Label() + ", " + std::to_string(rows.size()) + " rows");
}
BENCHMARK(BM_StageNumberTexts)->Apply(Antennas)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole Far Field command on the solved antenna, its lines formed.
void BM_StageFarFieldTable(benchmark::State& state) {
    Solved s(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::size_t length = 0;
        qw::FarFieldOutput output;
        output.logLines = [&length](const std::string& line) { length += line.size(); };
        s.host.progress.clear();
        s.ctx.farField = qw::FarFieldRequest{};
        const bool done = qw::ComputeFarField(s.ctx, output).completed();
        benchmark::DoNotOptimize(done);
        benchmark::DoNotOptimize(length);
    }
    state.SetLabel(s.Label());
}
BENCHMARK(BM_StageFarFieldTable)->Apply(Antennas)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
