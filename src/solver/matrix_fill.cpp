#include "solver/matrix_fill.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <cstdlib>
#include <memory>
#include <vector>


#include "solver/kernel.h"
#include "solver/repeated_blocks.h"
#include "solver/row_team.h"
#include "solver/scalar_memo.h"
#include "solver/term_kernels.h"

namespace qw {
namespace {

float Sign(int v) { return v > 0 ? 1.0f : (v < 0 ? -1.0f : 0.0f); }

// Doubled index of the centre break point of pulse i.
int CentreIndex(const PulseTable& t, int i) { return PointIndex(t.Centre(i)); }

// A vertical wire: its image in the ground continues it in a straight line.
bool Vertical(const PulseTable& t, int w) { return t.CA[w] == 0.0f && t.CB[w] == 0.0f; }

// Both halves of pulse i lie on one straight line along one wire: an
// ordinary pulse, or the ground pulse of a vertical wire. (The ground pulse
// of a sloping wire bends into its image and is never reused, whatever its
// azimuth.)
bool StraightPulse(const PulseTable& t, int i) {
    const int w = std::abs(t.C[i][1]);
    return w == std::abs(t.C[i][2]) && (t.C[i][1] == t.C[i][2] || Vertical(t, w));
}

// The observation pulse I: its halves' wires and its chord from start to end.
struct ObservationPulse {
    int I1, I2;
    float T5, T6, T7;
};

ObservationPulse ObserverOf(const PulseTable& t, int i) {
    ObservationPulse o;
    o.I1 = std::abs(t.C[i][1]);
    o.I2 = std::abs(t.C[i][2]);
    const float f4 = Sign(t.C[i][1]) * t.S[o.I1];
    const float f5 = Sign(t.C[i][2]) * t.S[o.I2];
    o.T5 = f4 * t.CA[o.I1] + f5 * t.CA[o.I2];
    o.T6 = f4 * t.CB[o.I1] + f5 * t.CB[o.I2];
    o.T7 = f4 * t.CG[o.I1] + f5 * t.CG[o.I2];
    // At the ground the image half rises towards the wire: both halves
    // point the same way in z.
    if (t.IsGroundPulse(i)) o.T7 = t.S[o.I1] * (t.CG[o.I1] + t.CG[o.I2]);
    return o;
}

// The source pulse J in one pass (direct or image).
struct SourcePulse {
    int J1, J2;
    float F4, F5;  // the halves' directions along their wires
    float F6, F7;  // factors of the halves' z parts: 1, or F4 and F5 at a ground
                   // pulse, whose image half rises in z like the wire
};

// The vector potential D1 + jD2 of a term from J's halves' integrals
// U1 + jU2 (second half) and V1 + jV2 (first half), with their directions.
void VectorTerm(const SolverState& s, const ObservationPulse& o, const SourcePulse& src, float kSign, float u1,
                float u2, float v1, float v2, float& d1, float& d2) {
    const PulseTable& t = s.pulses;
    const float x3 = u1 * t.CA[src.J2] + v1 * t.CA[src.J1];
    const float y3 = u1 * t.CB[src.J2] + v1 * t.CB[src.J1];
    const float z3 = (src.F7 * u1 * t.CG[src.J2] + src.F6 * v1 * t.CG[src.J1]) * kSign;
    d1 = s.freq.W2 * (x3 * o.T5 + y3 * o.T6 + z3 * o.T7);
    const float x4 = u2 * t.CA[src.J2] + v2 * t.CA[src.J1];
    const float y4 = u2 * t.CB[src.J2] + v2 * t.CB[src.J1];
    const float z4 = (src.F7 * u2 * t.CG[src.J2] + src.F6 * v2 * t.CG[src.J1]) * kSign;
    d2 = s.freq.W2 * (x4 * o.T5 + y4 * o.T6 + z4 * o.T7);
}

// The term from its six integrals: vector potential plus the differenced
// scalar potential.
void CombineTerm(const SolverState& s, const ObservationPulse& o, const SourcePulse& src, float kSign,
                 const TermIntegrals& g, float& re, float& im) {
    const PulseTable& t = s.pulses;
    float d1, d2;
    VectorTerm(s, o, src, kSign, src.F5 * g.t1[0], src.F5 * g.t2[0], src.F4 * g.t1[1], src.F4 * g.t2[1], d1, d2);
    float u1 = (g.t1[3] - g.t1[2]) / t.S[src.J2];
    float u2 = (g.t2[3] - g.t2[2]) / t.S[src.J2];
    u1 = u1 + (g.t1[4] - g.t1[5]) / t.S[src.J1];
    u2 = u2 + (g.t2[4] - g.t2[5]) / t.S[src.J1];
    re = kSign * (d1 + u1);
    im = kSign * (d2 + u2);
}

// The direct (k.K = +1) or image (k.K = -1) term of element (I, J): the
// vector potential D1 + jD2 plus the scalar one U1 + jU2. F8 = 1: I and J
// lie on the same straight wire, and a scalar integral is taken from the
// vector ones by translation; F8 = 2: moreover I = J, and the symmetric
// halves share their integrals.
void ElementTerm(const SolverState& s, const ObservationPulse& o, const SourcePulse& src, int f8, Kernel& k,
                 ScalarMemo& memo, float& re, float& im) {
    const PulseTable& t = s.pulses;
    const float kSign = static_cast<float>(k.K);
    if (f8 == 0) {
        TermIntegrals g;
        ReferenceTerm(s, TermPulses{k.I, k.J, k.K, src.J1, src.J2}, k, memo, g);
        CombineTerm(s, o, src, kSign, g, re, im);
        return;
    }

    // Vector potential of the second half, then of the first half of J,
    // from I's centre.
    k.P1 = CentreIndex(t, k.I);
    k.P2 = CentreIndex(t, k.J);
    k.P3 = k.P2 + 1;
    k.P4 = src.J2;
    VectorPsi(s, k);
    float u1 = src.F5 * k.T1;
    float u2 = src.F5 * k.T2;
    k.P3 = k.P2;
    k.P2 = k.P2 - 1;
    k.P4 = src.J1;
    if (f8 != 2) VectorPsi(s, k);
    float d1, d2;
    VectorTerm(s, o, src, kSign, u1, u2, src.F4 * k.T1, src.F4 * k.T2, d1, d2);

    // Scalar potential: the charges on J's two segments, differenced
    // between the midpoints of I's two segments (c(I) + 1/2 and c(I) - 1/2).
    k.P1 = k.P1 + 1;
    if (f8 == 2) k.P1 = k.P1 - 2;
    k.P2 = k.P3;
    k.P3 = k.P3 + 2;
    k.P4 = src.J2;
    if (f8 == 2) {
        // I = J: the adjacent segment on either side sees the same
        // integral, and the self segment is twice the half-segment vector
        // integral.
        memo.ScalarPsi(s, k);
        u1 = (2.0f * k.T1 - 4.0f * u1 * src.F5) / t.S[src.J1];
        u2 = (2.0f * k.T2 - 4.0f * u2 * src.F5) / t.S[src.J1];
        re = kSign * (d1 + u1);
        im = kSign * (d2 + u2);
        return;
    }
    // On a straight wire the whole pulse J seen from c(I) equals J's
    // second segment seen from c(I) + 1/2.
    const float u5 = src.F5 * u1 + k.T1;
    const float u6 = src.F5 * u2 + k.T2;
    k.P1 = k.P1 - 2;
    memo.ScalarPsi(s, k);
    u1 = (k.T1 - u5) / t.S[src.J2];
    u2 = (k.T2 - u6) / t.S[src.J2];
    k.P1 = k.P1 + 2;
    k.P3 = k.P2;
    k.P2 = k.P2 - 2;
    k.P4 = src.J1;
    memo.ScalarPsi(s, k);
    // By translation, J's first segment from c(I) - 1/2 equals its second
    // one from c(I) + 1/2.
    u1 = u1 + (k.T1 - u5) / t.S[src.J1];
    u2 = u2 + (k.T2 - u6) / t.S[src.J1];
    re = kSign * (d1 + u1);
    im = kSign * (d2 + u2);
}

// Copies of a direct term just found on a straight wire: the transposed
// element, and the element one pulse further along when pulse J + 1
// continues the wire the same way.
void CopyDirectTerm(SolverState& s, int i, int j) {
    const PulseTable& t = s.pulses;
    s.ZR[j][i] = s.ZR[i][j];
    s.ZI[j][i] = s.ZI[i][j];
    const int next = j + 1;
    if (next > t.N || i + 1 > t.N || t.C[next][1] != t.C[next][2]) return;
    const int j2 = std::abs(t.C[j][2]);
    if (t.C[next][2] == t.C[j][2] || (t.C[next][2] == -t.C[j][2] && Vertical(t, j2))) {
        s.ZR[i + 1][j + 1] = s.ZR[i][j];
        s.ZI[i + 1][j + 1] = s.ZI[i][j];
    }
}

}  // namespace

void ClearMatrix(SolverState& s) {
    const int n = s.pulses.N;
    const bool fresh = s.ZR.Resize(n);
    if (s.ZI.Resize(n) && fresh) return;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            s.ZR[i][j] = 0.0f;
            s.ZI[i][j] = 0.0f;
        }
}

namespace {

SourcePulse SourceOf(const PulseTable& t, int j) {
    SourcePulse src;
    src.J1 = std::abs(t.C[j][1]);
    src.J2 = std::abs(t.C[j][2]);
    src.F4 = Sign(t.C[j][1]);
    src.F5 = Sign(t.C[j][2]);
    // A ground pulse already holds its image half: its halves' z parts
    // follow their directions.
    src.F6 = t.IsGroundPulse(j) ? src.F4 : 1.0f;
    src.F7 = t.IsGroundPulse(j) ? src.F5 : 1.0f;
    return src;
}

// F8 of element (I, J) in the direct pass: 1 when both pulses are straight
// on the same wire, 2 when moreover I = J, else 0.
int ReuseMode(const PulseTable& t, bool straightI, const ObservationPulse& o, int i, int j, const SourcePulse& src) {
    if (!straightI || !StraightPulse(t, j) || o.I1 != src.J1) return 0;
    return i == j ? 2 : 1;
}

// One pass (image = +1 direct, -1 image) of element (i, j), added to it.
void AddTerm(SolverState& s, const ObservationPulse& o, const SourcePulse& src, int f8, int i, int j, int image,
             Kernel& k, ScalarMemo& memo) {
    k.K = image;
    k.I = i;
    k.J = j;
    float re = 0.0f, im = 0.0f;
    ElementTerm(s, o, src, f8, k, memo, re, im);
    s.ZR[i][j] = s.ZR[i][j] + re;
    s.ZI[i][j] = s.ZI[i][j] + im;
}

// With reuse, first the direct terms of the pairs on one straight wire
// (F8 != 0), row by row, with their copies to the transposed element and
// along the wire. Only such pairs make copies, and every copy lands in a
// later row or on the element itself, so this is the order of the fill
// restricted to them, and it leaves every element that a copy reaches as
// the row-by-row fill would find it. The pairs of one wire read and write
// only elements of that wire's pulses, so wires may go in any order, or
// side by side.
struct StraightWires {
    explicit StraightWires(const PulseTable& t) : pulses(static_cast<std::size_t>(t.NW) + 1) {
        // The straight pulses by the wire of their first half, in order:
        // only they can pair with an observation pulse whose first half is
        // on it.
        for (int j = 1; j <= t.N; ++j)
            if (StraightPulse(t, j)) pulses[static_cast<std::size_t>(std::abs(t.C[j][1]))].push_back(j);
        for (int w = 1; w <= t.NW; ++w)
            if (!pulses[static_cast<std::size_t>(w)].empty()) wires.push_back(w);
    }
    std::vector<std::vector<int>> pulses;
    std::vector<int> wires;  // those with straight pulses
};

void FillStraightWirePairs(SolverState& s, const RepeatedBlocks& blocks, const StraightWires& straight, int w,
                           Kernel& k, ScalarMemo& memo) {
    const PulseTable& t = s.pulses;
    const std::vector<int>& on = straight.pulses[static_cast<std::size_t>(w)];
    for (const int i : on) {
        const ObservationPulse o = ObserverOf(t, i);
        for (const int j : on) {
            const SourcePulse src = SourceOf(t, j);
            const int f8 = ReuseMode(t, true, o, i, j, src);
            if (f8 == 0 || blocks.Copied(i, j)) continue;
            if (s.ZR[i][j] == 0.0f) AddTerm(s, o, src, f8, i, j, 1, k, memo);
            if (j >= i) CopyDirectTerm(s, i, j);
        }
    }
}

// What one thread of the fill works with: the working values and the
// remembered scalar integrals of the reference kernels, and with the fast
// kernels the batched row and the terms it was asked for.
struct RowTerm {
    int j, image;
};
// Consecutive regular pulses first..last of one wire, asked through it.
struct RowRun {
    int first, last, image;
};

// What the rows need of each pulse as a source, found once per fill: its
// halves, and whether it is straight.
struct SourceTable {
    // What CombineTerm reads of each source pulse, pulse by pulse (padded
    // for whole vector lanes).
    enum Column { kCA2, kCA1, kCB2, kCB1, kCG2, kCG1, kF4, kF5, kF6, kF7, kS2, kS1, kColumns };
    explicit SourceTable(const PulseTable& t) : src(static_cast<std::size_t>(t.N) + 1), straight(src.size()) {
        for (auto& c : columns) c.assign(src.size() + 8, 0.0f);
        for (int j = 1; j <= t.N; ++j) {
            const auto u = static_cast<std::size_t>(j);
            const SourcePulse& p = src[u] = SourceOf(t, j);
            straight[u] = StraightPulse(t, j);
            const float values[kColumns] = {t.CA[p.J2], t.CA[p.J1], t.CB[p.J2], t.CB[p.J1], t.CG[p.J2], t.CG[p.J1],
                                            p.F4,       p.F5,       p.F6,       p.F7,       t.S[p.J2],  t.S[p.J1]};
            for (int c = 0; c < kColumns; ++c) columns[static_cast<std::size_t>(c)][u] = values[c];
        }
    }
    const float* Column(int c) const { return columns[static_cast<std::size_t>(c)].data(); }
    std::vector<SourcePulse> src;
    std::vector<char> straight;
    std::array<std::vector<float>, kColumns> columns;
};

typedef float Lanes __attribute__((vector_size(32)));
constexpr int kLanes = 8;

// CombineTerm of eight terms side by side in vector lanes, its operations
// in its order, lane by lane (no fused operations): the source pulses js
// (consecutive from js[0] when `run`), the image sign, integral m's t1 of
// lane l at g[m][l] and its t2 at g[m + 6][l].
__attribute__((target_clones("avx2", "default"))) void CombineLanes(
    const SourceTable& sources, const int* js, bool run, float image, const ObservationPulse& o, float w2,
    const float* const* g, float* re, float* im) {
    // (Lanes are passed by reference: a vector value would pass in a
    // register only where AVX is enabled.)
    const auto column = [&](int c, Lanes& v) -> const Lanes& {
        const float* p = sources.Column(c);
        if (run) {
            std::memcpy(&v, p + js[0], sizeof v);
        } else {
            for (int l = 0; l < kLanes; ++l) v[l] = p[js[l]];
        }
        return v;
    };
    Lanes planes[12];
    for (int p = 0; p < 12; ++p) std::memcpy(&planes[p], g[p], sizeof(Lanes));
    const auto G = [&](int plane) -> const Lanes& { return planes[plane]; };
    using S = SourceTable;
    Lanes F4, F5, F6, F7, ca2, ca1, cb2, cb1, cg2, cg1, s2, s1;
    column(S::kF4, F4), column(S::kF5, F5), column(S::kF6, F6), column(S::kF7, F7);
    column(S::kCA2, ca2), column(S::kCA1, ca1), column(S::kCB2, cb2), column(S::kCB1, cb1);
    column(S::kCG2, cg2), column(S::kCG1, cg1), column(S::kS2, s2), column(S::kS1, s1);
    // VectorTerm of u = F5 g[0] (second half) and v = F4 g[1] (first half),
    // plus the differenced scalar potential; integral m of the terms: t1
    // (plane m, g = 0) or t2 (plane m + 6, g = 6).
    Lanes parts[2];
    for (int h = 0; h < 2; ++h) {
        const int g = 6 * h;
        const Lanes u = F5 * G(g), v = F4 * G(g + 1);
        const Lanes x = u * ca2 + v * ca1;
        const Lanes y = u * cb2 + v * cb1;
        const Lanes z = ((F7 * u) * cg2 + (F6 * v) * cg1) * image;
        const Lanes vectorPart = w2 * ((x * o.T5 + y * o.T6) + z * o.T7);
        const Lanes scalarPart = (G(g + 3) - G(g + 2)) / s2 + (G(g + 4) - G(g + 5)) / s1;
        parts[h] = image * (vectorPart + scalarPart);
    }
    const Lanes& r = parts[0];
    const Lanes& m = parts[1];
    std::memcpy(re, &r, sizeof r);
    std::memcpy(im, &m, sizeof m);
}

struct FillThread {
    FillThread(const SolverState& s) : memo(!s.referenceKernels, s.pulses.N + 2 * s.pulses.NW + 1) {
        k.FieldMode = 1;  // the fill always uses the near-source rules
        if (!s.referenceKernels) row = std::make_unique<BatchedRow>(s);
    }
    Kernel k;
    ScalarMemo memo;
    std::unique_ptr<BatchedRow> row;
    std::vector<RowTerm> terms;
    std::vector<RowRun> runs;
};

// Row i: every term not made by FillStraightWirePairs: the direct terms
// of the other pairs unless a copy has set them, and every image term.
// Rows are independent of each other here. The fast kernels ask the
// batched row for all the row's terms (regular pulses through their
// wires), then add each to its element, every element's direct part
// before its image part.
void FillRow(SolverState& s, const RepeatedBlocks& blocks, const SourceTable& sources, int i, bool reuse,
             bool ground, FillThread& w) {
    const PulseTable& t = s.pulses;
    const ObservationPulse o = ObserverOf(t, i);
    const bool straightI = reuse && StraightPulse(t, i);
    BatchedRow* row = w.row.get();
    w.terms.clear();
    w.runs.clear();
    if (row) row->Begin(i);
    // The direct terms, then the image terms: each element still takes
    // its direct part before its image part.
    const float* zr = s.ZR[i];
    for (const int image : {1, -1}) {
        if (image < 0 && !ground) break;
        for (int j = 1; j <= t.N; ++j) {
            if (blocks.Copied(i, j)) {
                j = t.Nw[t.W[j]][2];  // a copied block takes all of the wire's pulses
                continue;
            }
            const SourcePulse& src = sources.src[static_cast<std::size_t>(j)];
            // ReuseMode != 0, from the table.
            const bool asked = image < 0 ? !t.IsGroundPulse(j)
                                         : !(straightI && sources.straight[static_cast<std::size_t>(j)] &&
                                             o.I1 == src.J1) &&
                                               !(reuse && zr[j] != 0.0f);
            if (!asked) continue;
            if (!row) {
                AddTerm(s, o, src, 0, i, j, image, w.k, w.memo);
            } else if (row->Regular(j)) {
                RowRun* last = w.runs.empty() ? nullptr : &w.runs.back();
                if (last && last->image == image && last->last == j - 1 && t.W[last->first] == t.W[j]) {
                    last->last = j;
                } else {
                    w.runs.push_back(RowRun{j, j, image});
                    row->AskWire(t.W[j], image);
                }
            } else {
                w.terms.push_back(RowTerm{j, image});
                row->Ask(j, image, src.J1, src.J2);
            }
        }
    }
    if (!row) return;
    row->Answer();
    float* ZR = s.ZR[i];
    float* ZI = s.ZI[i];
    const auto add = [&](int j, float re, float im) {
        ZR[j] = ZR[j] + re;
        ZI[j] = ZI[j] + im;
    };
    for (const int image : {1, -1}) {
        // The runs, eight pulses side by side; the rest one by one.
        for (const RowRun& r : w.runs) {
            if (r.image != image) continue;
            const int wire = t.W[r.first];
            const float* values[12];
            for (int p = 0; p < 12; ++p) values[p] = row->WireValues(image, p % 6, p / 6, wire);
            int j = r.first;
            for (; j + kLanes - 1 <= r.last; j += kLanes) {
                const float* g[12];
                for (int p = 0; p < 12; ++p) g[p] = values[p] + j;
                int js[kLanes];
                for (int l = 0; l < kLanes; ++l) js[l] = j + l;
                alignas(32) float re[kLanes], im[kLanes];
                CombineLanes(sources, js, true, static_cast<float>(image), o, s.freq.W2, g, re, im);
                for (int l = 0; l < kLanes; ++l) add(j + l, re[l], im[l]);
            }
            for (; j <= r.last; ++j) {
                TermIntegrals g;
                for (std::size_t m = 0; m < 6; ++m) {
                    g.t1[m] = values[m][j];
                    g.t2[m] = values[m + 6][j];
                }
                float re, im;
                CombineTerm(s, o, sources.src[static_cast<std::size_t>(j)], static_cast<float>(image), g, re, im);
                add(j, re, im);
            }
        }
        // The terms asked one by one: eight of this image side by side
        // where there are, else one by one.
        const std::size_t count = w.terms.size();
        for (std::size_t n = 0; n < count;) {
            const RowTerm* r = &w.terms[n];
            if (r->image != image) {
                ++n;
                continue;
            }
            if (n + kLanes > count || r[kLanes - 1].image != image) {
                float re, im;
                CombineTerm(s, o, sources.src[static_cast<std::size_t>(r->j)], static_cast<float>(image),
                            row->Term(static_cast<int>(n)), re, im);
                add(r->j, re, im);
                ++n;
                continue;
            }
            int js[kLanes];
            bool run = true;
            for (int l = 0; l < kLanes; ++l) {
                js[l] = r[l].j;
                run = run && js[l] == js[0] + l;
            }
            const float* g[12];
            for (int p = 0; p < 12; ++p) g[p] = row->Plane(p) + n;
            alignas(32) float re[kLanes], im[kLanes];
            CombineLanes(sources, js, run, static_cast<float>(image), o, s.freq.W2, g, re, im);
            for (int l = 0; l < kLanes; ++l) add(js[l], re[l], im[l]);
            n += kLanes;
        }
    }
}

}  // namespace

bool FillMatrix(Context& ctx, bool reuse, RowTeam* team) {
    SolverState& s = *ctx.solver;
    const int n = s.pulses.N;
    const bool ground = ctx.project.Env.GroundPresent == kOverGround;
    std::unique_ptr<RowTeam> ownTeam;
    if (s.referenceKernels)
        team = nullptr;
    else if (!team)
        team = (ownTeam = MakeRowTeam(s)).get();
    std::vector<std::unique_ptr<FillThread>> workers(team ? team->Workers() : 1);
    workers[0] = std::make_unique<FillThread>(s);
    const RepeatedBlocks blocks(s.pulses, ground, s.copyRepeatedBlocks && !s.referenceKernels);
    if (reuse) {
        const StraightWires straight(s.pulses);
        const int count = static_cast<int>(straight.wires.size());
        const auto pairs = [&](int worker, int first, int last) {
            std::unique_ptr<FillThread>& w = workers[static_cast<std::size_t>(worker)];
            if (!w) w = std::make_unique<FillThread>(s);
            for (int u = first; u <= last; ++u)
                FillStraightWirePairs(s, blocks, straight, straight.wires[static_cast<std::size_t>(u)], w->k, w->memo);
        };
        if (team)
            team->Run(0, count - 1, 1, pairs);
        else
            pairs(0, 0, count - 1);
    }
    const SourceTable sources(s.pulses);

    if (!team) {
        // On one thread the rows go in order, and a sweep's worker keeps
        // what they asked for the next frequency.
        FillRecording* recording = nullptr;
        if (s.keepFillAcrossFrequencies && workers[0]->row) {
            std::shared_ptr<FillRecording>& kept = s.fillCache.Recording();
            if (!kept) kept = std::make_shared<FillRecording>();
            if (!kept->TooLargeFor(s, ground, reuse)) {
                const bool replay = kept->Holds(s, ground, reuse);
                if (!replay) kept->Start(s, ground, reuse);
                recording = kept.get();
                workers[0]->row->Use(recording, replay);
            }
        }
        for (int i = 1; i <= n; ++i) {
            FillRow(s, blocks, sources, i, reuse, ground, *workers[0]);
            ShowProgress(ctx, static_cast<double>(i) / n);
            if (StopRequested(ctx)) return false;
        }
        if (recording) recording->EndFill();
        blocks.Copy(s);
        return true;
    }

    // Runs of consecutive rows (the memo serves neighbouring rows) taken by
    // whichever thread of the team is free; the calling thread alone shows
    // the progress and sees a stop request.
    const int run = std::max(1, std::min(8, n / (4 * team->Workers())));
    std::atomic<int> rowsDone{0};
    std::atomic<bool> stop{false};
    team->Run(1, n, run, [&](int worker, int first, int last) {
        if (stop.load(std::memory_order_relaxed)) return;
        std::unique_ptr<FillThread>& w = workers[static_cast<std::size_t>(worker)];
        if (!w) w = std::make_unique<FillThread>(s);
        for (int i = first; i <= last; ++i) FillRow(s, blocks, sources, i, reuse, ground, *w);
        rowsDone.fetch_add(last - first + 1);
        if (worker != 0) return;
        ShowProgress(ctx, static_cast<double>(rowsDone.load()) / n);
        if (StopRequested(ctx)) stop = true;
    });
    if (stop.load()) return false;
    blocks.Copy(s);
    ShowProgress(ctx, 1.0);
    return !StopRequested(ctx);
}

}  // namespace qw
