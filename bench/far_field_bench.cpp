// The default far-field grid (91 zenith x 181 azimuth directions) on the
// 300-pulse structure of the solver benchmarks (six parallel wires at
// 144 MHz), in free space and 2 m over average real ground: the field sums
// alone, and the whole Far Field command without a log.
#include <benchmark/benchmark.h>

#include <string>

#include "fields/far_field.h"
#include "fields/far_field_table.h"
#include "six_wires.h"
#include "solver/zm_compute.h"

namespace {

// The structure, solved.
struct SolvedStructure : qw::bench::SixWires {
    explicit SolvedStructure(bool realGround) : SixWires(realGround ? qw::bench::Ground::Real : qw::bench::Ground::FreeSpace) {
        ctx.BatchMode = true;
        qw::ZMCompute(ctx);
        ctx.BatchMode = false;
    }
};

const char* Label(bool realGround) { return realGround ? "real ground" : "free space"; }

// Arguments: real ground, the reference kernels (the C library's sines).
void BM_FarFieldGrid(benchmark::State& state) {
    const bool realGround = state.range(0) != 0;
    SolvedStructure s(realGround);
    qw::Solver(s.ctx).referenceKernels = state.range(1) != 0;
    qw::FarFieldSetup setup;
    if (!qw::PrepareFarField(s.ctx, setup, true)) {
        state.SkipWithError("no input power");
        return;
    }
    for (auto _ : state) {
        float sum = 0;
        float azimuth = 0;
        for (int a = 0; a <= 180; ++a) {
            float zenith = -90;
            for (int z = 0; z <= 90; ++z) {
                sum += qw::FieldAtDirection(s.ctx, setup, azimuth, zenith);
                zenith += 2;
            }
            azimuth += 2;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetLabel(std::string(Label(realGround)) + (state.range(1) ? ", reference kernels" : ""));
}
BENCHMARK(BM_FarFieldGrid)->Args({0, 0})->Args({0, 1})->Args({1, 0})->Unit(benchmark::kMillisecond);

void BM_ComputeFarField(benchmark::State& state) {
    const bool realGround = state.range(0) != 0;
    SolvedStructure s(realGround);
    for (auto _ : state) {
        s.host.progress.clear();
        s.ctx.farField = qw::FarFieldRequest{};
        const bool done = qw::ComputeFarField(s.ctx).completed();
        benchmark::DoNotOptimize(done);
    }
    state.SetLabel(Label(realGround));
}
BENCHMARK(BM_ComputeFarField)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
