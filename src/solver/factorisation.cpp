#include "solver/factorisation.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#include "platform/host.h"
#include "solver/row_team.h"
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

// Four steps at once: the row less the first pivot row times its
// multiplier, then less the second one times its own, and so on, element
// by element, so each element sees the very operations of four single
// steps while the row passes through the processor once.
__attribute__((target_clones("avx2", "default"))) void SubtractFourRows(float* __restrict rowR,
                                                                        float* __restrict rowI,
                                                                        const float* const* __restrict kR,
                                                                        const float* const* __restrict kI,
                                                                        const float* __restrict mr,
                                                                        const float* __restrict mi, int from, int to) {
    const float* __restrict k0R = kR[0];
    const float* __restrict k0I = kI[0];
    const float* __restrict k1R = kR[1];
    const float* __restrict k1I = kI[1];
    const float* __restrict k2R = kR[2];
    const float* __restrict k2I = kI[2];
    const float* __restrict k3R = kR[3];
    const float* __restrict k3I = kI[3];
    for (int j = from; j <= to; ++j) {
        float r = rowR[j], i = rowI[j], t;
        t = r - (mr[0] * k0R[j] - mi[0] * k0I[j]);
        i = i - (mr[0] * k0I[j] + mi[0] * k0R[j]);
        r = t;
        t = r - (mr[1] * k1R[j] - mi[1] * k1I[j]);
        i = i - (mr[1] * k1I[j] + mi[1] * k1R[j]);
        r = t;
        t = r - (mr[2] * k2R[j] - mi[2] * k2I[j]);
        i = i - (mr[2] * k2I[j] + mi[2] * k2R[j]);
        r = t;
        rowR[j] = r - (mr[3] * k3R[j] - mi[3] * k3I[j]);
        rowI[j] = i - (mr[3] * k3I[j] + mi[3] * k3R[j]);
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

// The pivot of step k: the row from k on with the largest magnitude in
// column k (the last of equal ones), swapped into row k. Returns its
// squared magnitude.
float Pivot(SolverState& st, int k) {
    auto& ZR = st.ZR;
    auto& ZI = st.ZI;
    float T = ZR[k][k] * ZR[k][k] + ZI[k][k] * ZI[k][k];
    if (T == 0) T = 1e-25f;
    int p = k;
    for (int i = k + 1; i <= st.pulses.N; ++i) {
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

// Steps k..k+m-1 as one block. The block's columns are kept up to date
// row by row as each step finds its pivot and multipliers; the columns
// after the block then take the block's steps in one pass per row, in
// order: each pivot row first takes the steps before its own, so every
// element sees the steps in the order of single steps, with the same
// multipliers and pivot rows.
constexpr int kBlockSteps = 4;

void EliminateBlock(SolverState& st, int k, int m, RowTeam* team) {
    const int N = st.pulses.N;
    auto& ZR = st.ZR;
    auto& ZI = st.ZI;
    const int last = k + m - 1;
    for (int c = k; c <= last; ++c) {
        const float T = Pivot(st, c);
        for (int i = c + 1; i <= N; ++i) {
            float mr, mi;
            Multiplier(st, c, T, i, mr, mi);
            if (c < last) SubtractRow(ZR[i].data(), ZI[i].data(), ZR[c].data(), ZI[c].data(), mr, mi, c + 1, last);
        }
    }
    if (last == N) return;
    const float* pivotR[kBlockSteps];
    const float* pivotI[kBlockSteps];
    for (int q = 0; q < m; ++q) {
        pivotR[q] = ZR[k + q].data();
        pivotI[q] = ZI[k + q].data();
    }
    auto rows = [&](int first, int end) {
        for (int i = first; i <= end; ++i) {
            const int steps = std::min(i - 1, last) - k + 1;
            if (steps == kBlockSteps) {
                float mr[kBlockSteps], mi[kBlockSteps];
                for (int q = 0; q < kBlockSteps; ++q) {
                    mr[q] = ZR[i][k + q];
                    mi[q] = ZI[i][k + q];
                }
                SubtractFourRows(ZR[i].data(), ZI[i].data(), pivotR, pivotI, mr, mi, last + 1, N);
            } else {
                for (int q = 0; q < steps; ++q)
                    SubtractRow(ZR[i].data(), ZI[i].data(), pivotR[q], pivotI[q], ZR[i][k + q], ZI[i][k + q],
                                last + 1, N);
            }
        }
    };
    // The block's own pivot rows in order, each after the one before it;
    // the rows after the block independently, shared with the team.
    rows(k + 1, last);
    if (team && N - last > 32)
        team->Run(last + 1, N, 8, [&rows](int, int first, int end) { rows(first, end); });
    else
        rows(last + 1, N);
}
}  // namespace

bool FactoriseMatrix(Context& ctx, RowTeam* team) {
    SolverState& st = Solver(ctx);
    const int N = st.pulses.N;
    const double total = static_cast<double>(EliminationWork(N));
    std::unique_ptr<RowTeam> ownTeam;
    if (st.referenceKernels)
        team = nullptr;
    else if (!team)
        team = (ownTeam = MakeRowTeam(st)).get();
    for (int k = 1; k <= N - 1;) {
        const int steps = st.referenceKernels ? 1 : std::min(kBlockSteps, N - k);
        if (steps > 1)
            EliminateBlock(st, k, steps, team);
        else
            EliminateRows(st, k, Pivot(st, k));
        k += steps;
        ctx.host->SetStatusText(1, "Solving Matrix");
        ShowProgress(ctx, 1.0 - static_cast<double>(EliminationWork(N - k + 1)) / total);
        if (StopRequested(ctx)) return false;
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
