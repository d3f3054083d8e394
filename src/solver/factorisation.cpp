#include "solver/factorisation.h"

#include <cstdint>
#include <functional>
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

// Two steps at once: the row less the first pivot row times its
// multiplier, then less the second one times its own, element by element,
// so each element sees the very operations of two single steps while the
// row passes through the processor once.
__attribute__((target_clones("avx2", "default"))) void SubtractTwoRows(
    float* __restrict rowR, float* __restrict rowI, const float* __restrict kR, const float* __restrict kI, float mr,
    float mi, const float* __restrict k2R, const float* __restrict k2I, float m2r, float m2i, int from, int to) {
    for (int j = from; j <= to; ++j) {
        const float r = rowR[j] - (mr * kR[j] - mi * kI[j]);
        const float i = rowI[j] - (mr * kI[j] + mi * kR[j]);
        rowR[j] = r - (m2r * k2R[j] - m2i * k2I[j]);
        rowI[j] = i - (m2r * k2I[j] + m2i * k2R[j]);
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

// The multiplier of row i in step k (pivot ZR(k,k) + jZI(k,k), T its
// squared magnitude), kept in column k.
void Multiplier(SolverState& st, int k, float T, int i, float& mr, float& mi) {
    const float pr = st.ZR[k][k], pi = st.ZI[k][k];
    mr = (st.ZR[i][k] * pr + st.ZI[i][k] * pi) / T;
    mi = (st.ZI[i][k] * pr - st.ZR[i][k] * pi) / T;
    st.ZR[i][k] = mr;
    st.ZI[i][k] = mi;
}

// Rows k+1..N of step k: the multipliers, and the rows less the pivot row
// times them.
void EliminateRows(SolverState& st, int k, float T) {
    const int N = st.pulses.N;
    for (int i = k + 1; i <= N; ++i) {
        float mr, mi;
        Multiplier(st, k, T, i, mr, mi);
        if (st.referenceKernels)
            SubtractRowReference(st.ZR[i].data(), st.ZI[i].data(), st.ZR[k].data(), st.ZI[k].data(), mr, mi, k + 1, N);
        else
            SubtractRow(st.ZR[i].data(), st.ZI[i].data(), st.ZR[k].data(), st.ZI[k].data(), mr, mi, k + 1, N);
    }
}

// Steps k and k + 1 together. Step k + 1 needs only column k + 1 after
// step k to choose its pivot, and its pivot row after step k; every other
// row then takes both steps in one pass.
void EliminateTwoSteps(SolverState& st, int k, float T, const std::function<float(int)>& pivot) {
    const int N = st.pulses.N;
    auto& ZR = st.ZR;
    auto& ZI = st.ZI;
    for (int i = k + 1; i <= N; ++i) {
        float mr, mi;
        Multiplier(st, k, T, i, mr, mi);
        SubtractRow(ZR[i].data(), ZI[i].data(), ZR[k].data(), ZI[k].data(), mr, mi, k + 1, k + 1);
    }
    const float T2 = pivot(k + 1);  // may swap row k + 1 with a later one, multipliers and all
    SubtractRow(ZR[k + 1].data(), ZI[k + 1].data(), ZR[k].data(), ZI[k].data(), ZR[k + 1][k], ZI[k + 1][k], k + 2, N);
    for (int i = k + 2; i <= N; ++i) {
        float m2r, m2i;
        Multiplier(st, k + 1, T2, i, m2r, m2i);
        SubtractTwoRows(ZR[i].data(), ZI[i].data(), ZR[k].data(), ZI[k].data(), ZR[i][k], ZI[i][k], ZR[k + 1].data(),
                        ZI[k + 1].data(), m2r, m2i, k + 2, N);
    }
}
}  // namespace

bool FactoriseMatrix(Context& ctx) {
    SolverState& st = Solver(ctx);
    auto& ZR = st.ZR;
    auto& ZI = st.ZI;
    const int N = st.pulses.N;
    const double total = static_cast<double>(EliminationWork(N));
    // The pivot of step k: the row from k on with the largest magnitude in
    // column k (the last of equal ones), swapped into row k. Returns its
    // squared magnitude.
    auto pivot = [&](int k) {
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
        return T;
    };
    for (int k = 1; k <= N - 1;) {
        const float T = pivot(k);
        const int steps = !st.referenceKernels && k + 1 <= N - 1 ? 2 : 1;
        if (steps == 2)
            EliminateTwoSteps(st, k, T, pivot);
        else
            EliminateRows(st, k, T);
        k += steps;
        ctx.host->SetStatusText(1, "Solving Matrix");
        ShowProgress(ctx, 1.0 - static_cast<double>(EliminationWork(N - k + 1)) / total);
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
