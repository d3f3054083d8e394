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
            SubtractRowReference(st.ZR[i], st.ZI[i], st.ZR[k], st.ZI[k], mr, mi, k + 1, N);
        else
            SubtractRow(st.ZR[i], st.ZI[i], st.ZR[k], st.ZI[k], mr, mi, k + 1, N);
    }
}

// The blocked elimination. The steps are taken in panels of kPanel
// columns; a panel's own columns are eliminated kSub steps at a time (the
// sub-block's columns kept current row by row as each step finds its pivot
// and multipliers), and the columns after the panel then take the panel's
// steps together, a few rows and eight columns at a time held in registers
// while the panel's pivot rows stream past from the cache. Every element
// still sees the steps of the plain elimination in their order, each with
// the same multiplier, pivot row element and operations, so the factors and
// pivots are bit for bit those of one step after the other.
constexpr int kPanel = 64;   // steps whose updates the later columns take together
constexpr int kSub = 8;      // steps of one sub-block within a panel
constexpr int kChunk = 512;  // columns swept with the panel's pivot rows kept in the cache
constexpr int kRowRun = 16;  // rows of the later columns a thread takes at a time
constexpr int kTileRows = 4; // rows updated together

// Eight floats, loaded and stored at any alignment.
typedef float Lanes __attribute__((vector_size(32), aligned(4), may_alias));

// The pivot rows of steps k..k+m-1.
struct PanelSteps {
    int k = 0, m = 0;
    const float* uR[kPanel];
    const float* uI[kPanel];
};

// R rows, each taking all m steps, over columns from..to. The multipliers
// sit in each row's columns k..k+m-1.
template <int R>
__attribute__((always_inline)) inline void TileSteps(float* const* rowR, float* const* rowI, const PanelSteps& s,
                                                     int m, int from, int to) {
    float mr[R][kPanel], mi[R][kPanel];
    for (int r = 0; r < R; ++r)
        for (int q = 0; q < m; ++q) {
            mr[r][q] = rowR[r][s.k + q];
            mi[r][q] = rowI[r][s.k + q];
        }
    int j = from;
    for (; j + 8 <= to + 1; j += 8) {
        Lanes ar[R], ai[R];
        for (int r = 0; r < R; ++r) {
            ar[r] = *reinterpret_cast<const Lanes*>(rowR[r] + j);
            ai[r] = *reinterpret_cast<const Lanes*>(rowI[r] + j);
        }
        for (int q = 0; q < m; ++q) {
            const Lanes kr = *reinterpret_cast<const Lanes*>(s.uR[q] + j);
            const Lanes ki = *reinterpret_cast<const Lanes*>(s.uI[q] + j);
            for (int r = 0; r < R; ++r) {
                const float a = mr[r][q], b = mi[r][q];
                ar[r] = ar[r] - (a * kr - b * ki);
                ai[r] = ai[r] - (a * ki + b * kr);
            }
        }
        for (int r = 0; r < R; ++r) {
            *reinterpret_cast<Lanes*>(rowR[r] + j) = ar[r];
            *reinterpret_cast<Lanes*>(rowI[r] + j) = ai[r];
        }
    }
    for (; j <= to; ++j)
        for (int r = 0; r < R; ++r) {
            float xr = rowR[r][j], xi = rowI[r][j];
            for (int q = 0; q < m; ++q) {
                const float kr = s.uR[q][j], ki = s.uI[q][j];
                const float t = xr - (mr[r][q] * kr - mi[r][q] * ki);
                xi = xi - (mr[r][q] * ki + mi[r][q] * kr);
                xr = t;
            }
            rowR[r][j] = xr;
            rowI[r][j] = xi;
        }
}

// Rows first..last over columns from..to, row i taking the steps of the
// panel before its own (all of them below the panel). A pivot row of the
// panel must come after the pivot rows before it.
__attribute__((always_inline)) inline void ApplyStepsBody(SolverState& st, const PanelSteps& s, int first, int last,
                                                          int from, int to) {
    const int lastStep = s.k + s.m - 1;
    int i = first;
    while (i <= last) {
        const int steps = std::min(i - 1, lastStep) - s.k + 1;
        if (steps == s.m && i + kTileRows - 1 <= last) {
            float* rR[kTileRows];
            float* rI[kTileRows];
            for (int r = 0; r < kTileRows; ++r) rR[r] = st.ZR[i + r], rI[r] = st.ZI[i + r];
            TileSteps<kTileRows>(rR, rI, s, s.m, from, to);
            i += kTileRows;
        } else {
            if (steps > 0) {
                float* rR[1] = {st.ZR[i]};
                float* rI[1] = {st.ZI[i]};
                TileSteps<1>(rR, rI, s, steps, from, to);
            }
            ++i;
        }
    }
}

__attribute__((target("avx2"))) void ApplyStepsAvx2(SolverState& st, const PanelSteps& s, int first, int last,
                                                    int from, int to) {
    ApplyStepsBody(st, s, first, last, from, to);
}

void ApplyStepsPlain(SolverState& st, const PanelSteps& s, int first, int last, int from, int to) {
    ApplyStepsBody(st, s, first, last, from, to);
}

// The same operations in AVX2 lanes where the processor has them, else in
// SSE2 lanes (no fused multiply-add either way).
void ApplySteps(SolverState& st, const PanelSteps& s, int first, int last, int from, int to) {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (from > to || first > last) return;
    if (avx2)
        ApplyStepsAvx2(st, s, first, last, from, to);
    else
        ApplyStepsPlain(st, s, first, last, from, to);
}

PanelSteps StepsOf(SolverState& st, int k, int m) {
    PanelSteps s;
    s.k = k;
    s.m = m;
    for (int q = 0; q < m; ++q) {
        s.uR[q] = st.ZR[k + q];
        s.uI[q] = st.ZI[k + q];
    }
    return s;
}

// Steps k..last take columns from..to: the pivot rows k+1..last in order,
// then the rows after them, shared with the team in runs.
void UpdateColumns(SolverState& st, int k, int last, int from, int to, RowTeam* team) {
    const int N = st.pulses.N;
    if (from > to) return;
    const PanelSteps s = StepsOf(st, k, last - k + 1);
    ApplySteps(st, s, k + 1, last, from, to);
    if (team && N - last > 2 * kRowRun)
        team->Run(last + 1, N, kRowRun, [&](int, int first, int end) { ApplySteps(st, s, first, end, from, to); });
    else
        ApplySteps(st, s, last + 1, N, from, to);
}

// Steps c0..c0+m-1: the pivots and multipliers, the sub-block's own
// columns kept current as each step is taken.
void EliminateSubBlock(SolverState& st, int c0, int m) {
    const int N = st.pulses.N;
    const int last = c0 + m - 1;
    for (int c = c0; c <= last; ++c) {
        const float T = Pivot(st, c);
        for (int i = c + 1; i <= N; ++i) {
            float mr, mi;
            Multiplier(st, c, T, i, mr, mi);
            if (c < last) SubtractRow(st.ZR[i], st.ZI[i], st.ZR[c], st.ZI[c], mr, mi, c + 1, last);
        }
    }
}

// The panel of steps k..last: its sub-blocks, each bringing the panel's
// later columns up to date, then the columns after the panel, a chunk at
// a time (the pivot rows of the panel first, by chunks shared with the
// team). Reports progress after each sub-block; false when a stop was
// requested (checked after each sub-block and each chunk).
bool EliminatePanel(Context& ctx, int k, int last, RowTeam* team, double total) {
    SolverState& st = Solver(ctx);
    const int N = st.pulses.N;
    for (int c0 = k; c0 <= last; c0 += kSub) {
        const int sLast = std::min(c0 + kSub - 1, last);
        EliminateSubBlock(st, c0, sLast - c0 + 1);
        UpdateColumns(st, c0, sLast, sLast + 1, last, team);
        ctx.host->SetStatusText(1, "Solving Matrix");
        ShowProgress(ctx, 1.0 - static_cast<double>(EliminationWork(N - sLast)) / total);
        if (StopRequested(ctx)) return false;
    }
    if (last == N) return true;
    const PanelSteps s = StepsOf(st, k, last - k + 1);
    // The panel's pivot rows take their steps in order, row after row;
    // their columns are independent, so the chunks are shared.
    constexpr int kPivotChunk = 64;
    const int chunks = (N - last + kPivotChunk - 1) / kPivotChunk;
    auto pivotRows = [&](int, int first, int end) {
        for (int c = first; c <= end; ++c) {
            const int from = last + 1 + c * kPivotChunk;
            ApplySteps(st, s, k + 1, last, from, std::min(N, from + kPivotChunk - 1));
        }
    };
    if (team && chunks > 1)
        team->Run(0, chunks - 1, 1, pivotRows);
    else
        pivotRows(0, 0, chunks - 1);
    for (int from = last + 1; from <= N; from += kChunk) {
        const int to = std::min(N, from + kChunk - 1);
        if (team && N - last > 2 * kRowRun)
            team->Run(last + 1, N, kRowRun, [&](int, int first, int end) { ApplySteps(st, s, first, end, from, to); });
        else
            ApplySteps(st, s, last + 1, N, from, to);
        if (StopRequested(ctx)) return false;
    }
    return true;
}
}  // namespace

bool FactoriseMatrix(Context& ctx, RowTeam* team) {
    SolverState& st = Solver(ctx);
    const int N = st.pulses.N;
    const double total = static_cast<double>(EliminationWork(N));
    if (st.referenceKernels) {
        for (int k = 1; k <= N - 1; ++k) {
            EliminateRows(st, k, Pivot(st, k));
            ctx.host->SetStatusText(1, "Solving Matrix");
            ShowProgress(ctx, 1.0 - static_cast<double>(EliminationWork(N - k)) / total);
            if (StopRequested(ctx)) return false;
        }
        return true;
    }
    std::unique_ptr<RowTeam> ownTeam;
    if (!team) team = (ownTeam = MakeRowTeam(st)).get();
    for (int k = 1; k <= N - 1; k += kPanel) {
        const int last = std::min(k + kPanel - 1, N - 1);
        if (!EliminatePanel(ctx, k, last, team, total)) return false;
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
