#include "solver/factorisation.h"

#include <cstdint>
#include <utility>

#include "platform/host.h"
#include "solver/solver.h"

namespace qw {

namespace {
// Work of the elimination up to n unknowns, for the progress fraction.
std::int64_t EliminationWork(int n) { return static_cast<std::int64_t>(2 * n - 1) * (n - 1) * n; }

// Row minus the multiplier times the pivot row, over columns from..to:
// one lane per column, the same operations per element on every machine
// (AVX2 where the processor has it, else SSE2; no fused multiply-add).
__attribute__((target_clones("avx2", "default"))) void SubtractRow(float* __restrict rowR, float* __restrict rowI,
                                                                  const float* __restrict kR,
                                                                  const float* __restrict kI, float mr, float mi,
                                                                  int from, int to) {
    for (int j = from; j <= to; ++j) {
        rowR[j] = rowR[j] - (mr * kR[j] - mi * kI[j]);
        rowI[j] = rowI[j] - (mr * kI[j] + mi * kR[j]);
    }
}

// The same, one element after the other: the reference kernel.
__attribute__((optimize("no-tree-vectorize"))) void SubtractRowReference(float* rowR, float* rowI, const float* kR,
                                                                       const float* kI, float mr, float mi, int from,
                                                                       int to) {
    for (int j = from; j <= to; ++j) {
        rowR[j] = rowR[j] - (mr * kR[j] - mi * kI[j]);
        rowI[j] = rowI[j] - (mr * kI[j] + mi * kR[j]);
    }
}

// Rows first..last of step k: the multipliers, kept in column k, and the
// rows less the pivot row times them.
void EliminateRows(SolverState& st, int k, float T, int first, int last) {
    auto& ZR = st.ZR;
    auto& ZI = st.ZI;
    const int N = st.pulses.N;
    const float pr = ZR[k][k], pi = ZI[k][k];
    for (int i = first; i <= last; ++i) {
        const float mr = (ZR[i][k] * pr + ZI[i][k] * pi) / T;
        const float mi = (ZI[i][k] * pr - ZR[i][k] * pi) / T;
        ZR[i][k] = mr;
        ZI[i][k] = mi;
        if (st.referenceKernels)
            SubtractRowReference(ZR[i].data(), ZI[i].data(), ZR[k].data(), ZI[k].data(), mr, mi, k + 1, N);
        else
            SubtractRow(ZR[i].data(), ZI[i].data(), ZR[k].data(), ZI[k].data(), mr, mi, k + 1, N);
    }
}
}  // namespace

bool FactoriseMatrix(Context& ctx) {
    SolverState& st = Solver(ctx);
    auto& ZR = st.ZR;
    auto& ZI = st.ZI;
    const int N = st.pulses.N;
    const double total = static_cast<double>(EliminationWork(N));
    for (int k = 1; k <= N - 1; ++k) {
        float T = ZR[k][k] * ZR[k][k] + ZI[k][k] * ZI[k][k];
        if (T == 0) T = 1e-25f;
        int p = k;
        for (int i = k + 1; i <= N; ++i) {
            const float T2 = ZR[i][k] * ZR[i][k] + ZI[i][k] * ZI[i][k];
            if (T <= T2) {
                p = i;
                T = T2;
            }
        }
        if (p != k) {
            std::swap(ZR[k], ZR[p]);
            std::swap(ZI[k], ZI[p]);
        }
        st.Pivot[k] = p;
        EliminateRows(st, k, T, k + 1, N);
        ctx.host->SetStatusText(1, "Solving Matrix");
        ShowProgress(ctx, 1.0 - static_cast<double>(EliminationWork(N - k)) / total);
        if (ctx.AbortFlag) return false;
    }
    return true;
}

void SolveMatrix(Context& ctx) {
    SolverState& st = Solver(ctx);
    const auto& ZR = st.ZR;
    const auto& ZI = st.ZI;
    auto& CR = st.CR;
    auto& CI = st.CI;
    const int N = st.pulses.N;
    for (int k = 1; k <= N - 1; ++k) {
        const int p = st.Pivot[k];
        if (p != k) {
            std::swap(CR[k], CR[p]);
            std::swap(CI[k], CI[p]);
        }
    }
    for (int i = 2; i <= N; ++i) {
        float sr = CR[i], si = CI[i];
        for (int j = 1; j < i; ++j) {
            sr = sr - (ZR[i][j] * CR[j] - ZI[i][j] * CI[j]);
            si = si - (ZR[i][j] * CI[j] + ZI[i][j] * CR[j]);
        }
        CR[i] = sr;
        CI[i] = si;
    }
    for (int i = N; i >= 1; --i) {
        float sr = CR[i], si = CI[i];
        for (int j = i + 1; j <= N; ++j) {
            sr = sr - (ZR[i][j] * CR[j] - ZI[i][j] * CI[j]);
            si = si - (ZR[i][j] * CI[j] + ZI[i][j] * CR[j]);
        }
        float d = ZR[i][i] * ZR[i][i] + ZI[i][i] * ZI[i][i];
        if (d == 0) d = 1e-25f;
        CR[i] = (sr * ZR[i][i] + si * ZI[i][i]) / d;
        CI[i] = (si * ZR[i][i] - sr * ZI[i][i]) / d;
    }
}

}  // namespace qw
