// Stage times of large models: the array of unequal wires of
// bench/large_array.h at 300, 1000 and 2000 pulses. The fill, the blocked
// elimination (and the one-step elimination it replaces, up to 1000), the
// solution for one right-hand side, the far field over 91 x 181
// directions, the time a stop takes to be seen during a 2000-pulse
// factorisation, and OpenBLAS's cgetrf as a reference line where the
// library was found at configure time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <complex>
#include <random>
#include <thread>
#include <vector>

#include "fields/far_field.h"
#include "fields/far_field_table.h"
#include "large_array.h"
#include "solver/factorisation.h"
#include "solver/matrix_fill.h"
#include "solver/zm_compute.h"

#ifdef QW_HAVE_OPENBLAS
extern "C" void cgetrf_(const int* m, const int* n, std::complex<float>* a, const int* lda, int* ipiv, int* info);
#endif

namespace {

using qw::bench::LargeArray;

void Sizes(benchmark::internal::Benchmark* b) { b->Arg(300)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond); }

void BM_LargeFill(benchmark::State& state) {
    LargeArray s(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        qw::ClearMatrix(qw::Solver(s.ctx));
        qw::FillMatrix(s.ctx);
        benchmark::DoNotOptimize(qw::Solver(s.ctx).ZR[1][1]);
    }
}
BENCHMARK(BM_LargeFill)->Apply(Sizes)->UseRealTime();

// The filled matrix, kept to be factorised again and again.
struct Filled {
    qw::SquareTable zr, zi;
    explicit Filled(LargeArray& s) {
        qw::ClearMatrix(qw::Solver(s.ctx));
        qw::FillMatrix(s.ctx);
        zr = qw::Solver(s.ctx).ZR;
        zi = qw::Solver(s.ctx).ZI;
    }
    void Restore(LargeArray& s) const {
        qw::Solver(s.ctx).ZR = zr;
        qw::Solver(s.ctx).ZI = zi;
    }
};

// Arguments: pulses, the one-step reference elimination.
void BM_LargeFactorise(benchmark::State& state) {
    LargeArray s(static_cast<int>(state.range(0)));
    qw::Solver(s.ctx).referenceKernels = state.range(1) != 0;
    const Filled filled(s);
    for (auto _ : state) {
        state.PauseTiming();
        filled.Restore(s);
        state.ResumeTiming();
        qw::FactoriseMatrix(s.ctx);
        benchmark::DoNotOptimize(qw::Solver(s.ctx).ZR[1][1]);
    }
    state.SetLabel(state.range(1) ? "one step at a time, one thread" : "blocked, every core");
}
BENCHMARK(BM_LargeFactorise)
    ->Args({300, 0})
    ->Args({1000, 0})
    ->Args({2000, 0})
    ->Args({300, 1})
    ->Args({1000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_LargeSolve(benchmark::State& state) {
    LargeArray s(static_cast<int>(state.range(0)));
    s.ctx.BatchMode = true;
    qw::ZMCompute(s.ctx);
    for (auto _ : state) {
        qw::SolveMatrix(s.ctx);
        benchmark::DoNotOptimize(qw::Solver(s.ctx).CR[1]);
    }
}
BENCHMARK(BM_LargeSolve)->Apply(Sizes);

// The whole computation of one frequency: fill, factorisation, solution
// and the source's results.
void BM_LargeCompute(benchmark::State& state) {
    LargeArray s(static_cast<int>(state.range(0)));
    s.ctx.BatchMode = true;
    for (auto _ : state) {
        qw::Solver(s.ctx).MatrixState = 0;
        benchmark::DoNotOptimize(qw::ZMCompute(s.ctx).completed());
    }
}
BENCHMARK(BM_LargeCompute)->Apply(Sizes)->UseRealTime();

void BM_LargeFarField(benchmark::State& state) {
    LargeArray s(static_cast<int>(state.range(0)));
    s.ctx.BatchMode = true;
    qw::ZMCompute(s.ctx);
    s.ctx.BatchMode = false;
    for (auto _ : state) {
        s.host.progress.clear();
        s.host.mainText.clear();
        s.ctx.farField = qw::FarFieldRequest{};
        benchmark::DoNotOptimize(qw::ComputeFarField(s.ctx).completed());
    }
}
BENCHMARK(BM_LargeFarField)->Apply(Sizes)->UseRealTime();

// A stop requested from another thread at a random moment of a 2000-pulse
// factorisation: the time until the factorisation returns, the worst and
// the mean of the iterations as counters.
void BM_StopDuringFactorisation(benchmark::State& state) {
    LargeArray s(2000);
    const Filled filled(s);
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> delayMs(1, 300);
    double worst = 0, sum = 0;
    int stops = 0;
    for (auto _ : state) {
        state.PauseTiming();
        filled.Restore(s);
        s.ctx.stop.Reset();
        std::atomic<std::int64_t> requestedAt{0};
        const int delay = delayMs(rng);
        state.ResumeTiming();
        std::thread stopper([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            requestedAt = std::chrono::steady_clock::now().time_since_epoch().count();
            s.ctx.stop.Request();
        });
        const bool finished = qw::FactoriseMatrix(s.ctx);
        const auto returnedAt = std::chrono::steady_clock::now().time_since_epoch().count();
        stopper.join();
        if (!finished) {
            const double seconds = std::max<std::int64_t>(0, returnedAt - requestedAt) * 1e-9;
            worst = std::max(worst, seconds);
            sum += seconds;
            ++stops;
        }
    }
    state.counters["worst_stop_ms"] = worst * 1e3;
    state.counters["mean_stop_ms"] = stops ? sum / stops * 1e3 : 0;
    state.counters["stops"] = stops;
}
BENCHMARK(BM_StopDuringFactorisation)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

#ifdef QW_HAVE_OPENBLAS
// A tuned LAPACK's factorisation of the same matrix (column-major complex
// single precision, its own pivoting and arithmetic), for scale.
void BM_OpenBlasCgetrf(benchmark::State& state) {
    LargeArray s(static_cast<int>(state.range(0)));
    const Filled filled(s);
    const int n = qw::Solver(s.ctx).pulses.N;
    std::vector<std::complex<float>> a(static_cast<std::size_t>(n) * n), work(a.size());
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            a[static_cast<std::size_t>(j - 1) * n + (i - 1)] = {filled.zr[i][j], filled.zi[i][j]};
    std::vector<int> ipiv(static_cast<std::size_t>(n));
    for (auto _ : state) {
        state.PauseTiming();
        work = a;
        state.ResumeTiming();
        int info = 0;
        cgetrf_(&n, &n, work.data(), &n, ipiv.data(), &info);
        benchmark::DoNotOptimize(work.data());
    }
}
BENCHMARK(BM_OpenBlasCgetrf)->Apply(Sizes)->UseRealTime();
#endif

}  // namespace
