// Large models: the blocked elimination gives the factors and pivots of the
// one-step elimination bit for bit, a stop from another thread is seen
// between blocks, and a 1000-pulse model reports the digits of the
// reference kernels.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <random>
#include <thread>

#include "filled_matrix.h"
#include "solver/factorisation.h"
#include "solver/matrix_fill.h"
#include "support/solved_antenna.h"

namespace qw {
namespace {

// A context whose matrix is n x n, filled by the caller.
struct BareMatrix {
    ScriptedHost host;
    Context ctx{host};
    explicit BareMatrix(int n) {
        InstallSolver(ctx);
        St().pulses.N = n;
        ClearMatrix(St());
    }
    SolverState& St() { return Solver(ctx); }
};

// Random elements of mixed magnitude, with the cases that test the pivot
// rule: rows that repeat an earlier row (equal magnitudes: the later row
// wins), a row that repeats another with the signs turned, and an all-zero
// column (no pivot: the divisor 1e-25).
void RandomMatrix(SolverState& st, unsigned seed) {
    const int n = st.pulses.N;
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    std::uniform_int_distribution<int> e(-6, 6);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            st.ZR[i][j] = std::ldexp(u(rng), e(rng));
            st.ZI[i][j] = std::ldexp(u(rng), e(rng));
        }
    if (n < 6) return;
    std::memcpy(st.ZR[n - 1] + 1, st.ZR[2] + 1, sizeof(float) * n);
    std::memcpy(st.ZI[n - 1] + 1, st.ZI[2] + 1, sizeof(float) * n);
    for (int j = 1; j <= n; ++j) st.ZR[n / 2][j] = -st.ZR[3][j], st.ZI[n / 2][j] = -st.ZI[3][j];
    const int zero = n / 3;
    for (int i = 1; i <= n; ++i) st.ZR[i][zero] = st.ZI[i][zero] = 0;
}

test::FilledMatrix Factors(int n, unsigned seed, bool reference, int threads) {
    BareMatrix m(n);
    RandomMatrix(m.St(), seed);
    m.St().referenceKernels = reference;
    m.St().threads = threads;
    EXPECT_TRUE(FactoriseMatrix(m.ctx));
    return test::FilledMatrix(m.St(), true);
}

TEST(BlockedElimination, FactorsAndPivotsEqualTheOneStepEliminationBitForBit) {
    // Sizes about the sub-block (8), panel (64) and column-chunk (512)
    // edges, on one thread and shared by two and three.
    for (const int n : {1, 2, 3, 7, 8, 9, 15, 63, 64, 65, 66, 129, 200, 520, 600}) {
        const test::FilledMatrix reference = Factors(n, 1000u + n, true, 1);
        for (const int threads : {1, 2, 3}) {
            const test::FilledMatrix blocked = Factors(n, 1000u + n, false, threads);
            ASSERT_EQ(blocked.pivots, reference.pivots) << n << " unknowns, " << threads << " threads";
            // Compared as bits: equal values of different sign or NaNs count.
            ASSERT_EQ(0, std::memcmp(blocked.z.data(), reference.z.data(), sizeof(reference.z[0]) * reference.z.size()))
                << n << " unknowns, " << threads << " threads";
        }
    }
}

TEST(BlockedElimination, TheMatrixIsSizedToTheModel) {
    BareMatrix m(2000);
    EXPECT_EQ(m.St().ZR.Size(), 2000);
    EXPECT_GE(m.St().ZR.Floats(), 2001u * 2001u);
    m.St().pulses.N = 40;
    ClearMatrix(m.St());
    EXPECT_EQ(m.St().ZR.Size(), 40);
    EXPECT_LE(m.St().ZR.Floats(), 41u * 48u);
    // A copy of the solver takes the rows in their order, after exchanges.
    RandomMatrix(m.St(), 7);
    ASSERT_TRUE(FactoriseMatrix(m.ctx));
    const SolverState copy = m.St();
    EXPECT_EQ(test::FilledMatrix(copy, true), test::FilledMatrix(m.St(), true));
}

// A host whose progress reports, from the eighth on (a whole panel's
// sub-blocks done, its later columns about to take its steps), have a stop
// requested by another thread.
struct StopFromAnotherThread : ScriptedHost {
    Context* ctx = nullptr;
    std::atomic<int> reports{0};
    int reportsAtRequest = -1;
    void ShowProgress(double fraction) override {
        ScriptedHost::ShowProgress(fraction);
        if (++reports == 8) {
            std::thread([this] { ctx->stop.Request(); }).join();
            reportsAtRequest = reports;
        }
    }
};

TEST(BlockedElimination, AStopFromAnotherThreadIsSeenBetweenBlocksOfA2000PulseFactorisation) {
    BareMatrix m(2000);
    RandomMatrix(m.St(), 11);
    StopFromAnotherThread stopper;
    stopper.ctx = &m.ctx;
    m.ctx.host = &stopper;
    m.St().threads = 2;
    EXPECT_FALSE(FactoriseMatrix(m.ctx));
    // Stopped at the next check: no further block was reported.
    EXPECT_EQ(stopper.reportsAtRequest, 8);
    EXPECT_EQ(stopper.reports.load(), 8);
    ASSERT_EQ(stopper.progress.size(), 8u);
    EXPECT_LT(stopper.progress.back(), 0.1);
}

// Ten unequal parallel wires of 101 segments: 1000 pulses, two sources and
// a load.
struct ThousandPulses : test::SolvedAntenna {
    ThousandPulses() {
        ctx.options.LargeModels = true;
        for (int w = 0; w < 10; ++w) {
            const float half = 0.22f + 0.012f * static_cast<float>(w);
            const float x = 0.17f * static_cast<float>(w);
            Wire(101, x, -half, 0, x, half, 0.01f * static_cast<float>(w), 0.0008f);
        }
        Source(150, 1, 0);
        Source(450, 1, 90);
        Load(750, 20, -35);
        p.PulseCount = 1000;
    }
    std::vector<std::string> Report(bool reference) {
        St().referenceKernels = reference;
        St().MatrixState = 0;
        host.mainText.clear();
        Build(true);
        return host.mainText;
    }
};

TEST(LargeModel, A1000PulseReportEqualsTheReferenceKernels) {
    ThousandPulses a;
    const std::vector<std::string> fast = a.Report(false);
    ASSERT_EQ(a.St().pulses.N, 1000);
    ASSERT_GE(fast.size(), 4u);
    EXPECT_NE(std::find_if(fast.begin(), fast.end(),
                           [](const std::string& l) { return l.find("IMPEDANCE") != std::string::npos; }),
              fast.end());
    EXPECT_EQ(a.Report(true), fast);
}

}  // namespace
}  // namespace qw
