#include "solver/kernel.h"

#include <cmath>
#include <cstring>

#include "solver/frequency_constants.h"
#include "solver/geometry_tape.h"

namespace qw {
namespace {

// The point at a doubled index: break point p, or the midpoint of points
// p and p + 1. Indices are positive, so index / 2 is the lower point.
void PointAt(const PulseTable& t, int index, float& x, float& y, float& z) {
    const int p = index / 2;
    if (index % 2 == 0) {
        x = t.X[p];
        y = t.Y[p];
        z = t.Z[p];
    } else {
        x = (t.X[p] + t.X[p + 1]) / 2.0f;
        y = (t.Y[p] + t.Y[p + 1]) / 2.0f;
        z = (t.Z[p] + t.Z[p + 1]) / 2.0f;
    }
}

float Length(const std::array<float, 3>& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

// Polynomial approximation of the complete elliptic integral of the first
// kind in the complementary parameter B (Abramowitz and Stegun 17.3.34):
// K = (a0 + a1 B + ... + a4 B^4) - (b0 + b1 B + ... + b4 B^4) ln B.
float EllipticK(float b) {
    const float b2 = b * b, b3 = b2 * b, b4 = b3 * b;
    const float k0 = 1.38629436112f + 0.09666344259f * b + 0.03590092383f * b2 + 0.03742563713f * b3 +
                     0.01451196212f * b4;
    const float k1 = 0.5f + 0.12498593397f * b + 0.06880248576f * b2 + 0.0332835346f * b3 + 0.00441787012f * b4;
    return k0 - k1 * std::log(b);
}

// Wires u and v touch: the same wire, or an end contact mark in common.
bool ContactMarksMeet(const PulseTable& t, int u, int v) {
    return t.J2[u][1] == t.J2[v][1] || t.J2[u][1] == t.J2[v][2] || t.J2[u][2] == t.J2[v][1] ||
           t.J2[u][2] == t.J2[v][2];
}

// What every sample of one integral shares, read once from the working
// values and the tables.
struct Sampler {
    Sampler(const SolverState& s, const Kernel& k)
        : thick(s.pulses.A[k.P4] > s.freq.SRM),
          exact(k.C != 0.0f),
          a(s.pulses.A[k.P4]),
          a2(k.A2),
          pi(s.Pi),
          waveNumber(s.freq.K) {
        // An image interval is walked from its other end.
        for (int c = 0; c < 3; ++c) {
            start[c] = k.K >= 0 ? k.V1[c] : k.V2[c];
            step[c] = k.K >= 0 ? k.V2[c] - k.V1[c] : k.V1[c] - k.V2[c];
        }
    }
    bool thick, exact;
    float a, a2, pi, waveNumber;
    std::array<float, 3> start, step;
};

// Adds the kernel at the fraction t of the interval to t3 + jt4; with a
// tape, appends the sample's distance and exact-kernel term to it.
[[gnu::always_inline]] inline void AddSample(const Sampler& q, float t, float& t3, float& t4,
                                             GeometryTape* tape = nullptr) {
    // The source point relative to the observation point.
    const float px = q.start[0] + t * q.step[0];
    const float py = q.start[1] + t * q.step[1];
    const float pz = q.start[2] + t * q.step[2];
    const float d3 = px * px + py * py + pz * pz;

    float d;
    float exactTerm = 0.0f;
    if (q.thick) {
        d = std::sqrt(d3 + q.a2);  // reduced kernel: distance to the wire's surface
        if (q.exact) {
            // Exact static kernel (ring average, through the elliptic
            // integral) with its logarithm removed, less the reduced one.
            const float b = d3 / (d3 + 4.0f * q.a2);
            const float e = EllipticK(b) * std::sqrt(1.0f - b);
            exactTerm = (e + std::log(d3 / (64.0f * q.a2)) / 2.0f) / q.pi / q.a;
            t3 = t3 + exactTerm - 1.0f / d;
        }
    } else {
        d = std::sqrt(d3);
    }
    const float b1 = q.waveNumber * d;
    t3 = t3 + std::cos(b1) / d;
    t4 = t4 - std::sin(b1) / d;
    if (tape) {
        tape->distance.push_back(d);
        tape->exactTerm.push_back(exactTerm);
    }
}

// The record of this integral's inputs, not yet of what they decide.
TapeRecord InputsOf(const SolverState& s, const Kernel& k) {
    const PulseTable& t = s.pulses;
    TapeRecord r;
    r.v1 = k.V1;
    r.v2 = k.V2;
    r.a = t.A[k.P4];
    r.seg = t.S[k.P4];
    r.span = k.P3 - k.P2;
    r.image = k.K;
    r.wireI = t.W[k.I];
    r.wireJ = t.W[k.J];
    r.fieldMode = k.FieldMode;
    r.generation = t.Generation;
    r.scalar = k.Scalar;
    r.thick = r.a > s.freq.SRM;
    return r;
}

bool SameInputs(const TapeRecord& a, const TapeRecord& b) {
    return std::memcmp(a.v1.data(), b.v1.data(), sizeof a.v1) == 0 &&
           std::memcmp(a.v2.data(), b.v2.data(), sizeof a.v2) == 0 && std::memcmp(&a.a, &b.a, sizeof a.a) == 0 &&
           std::memcmp(&a.seg, &b.seg, sizeof a.seg) == 0 && a.span == b.span && a.image == b.image &&
           a.wireI == b.wireI && a.wireJ == b.wireJ && a.fieldMode == b.fieldMode &&
           a.generation == b.generation && a.scalar == b.scalar && a.thick == b.thick;
}

// The thin-wire closed form of a near interval.
void ClosedForm(const SolverState& s, Kernel& k, float a, float seg) {
    if (k.Scalar) {
        k.T1 = 2.0f * std::log(seg / a);
        k.T2 = -s.freq.K * seg;
    } else {
        k.T1 = std::log(seg / a);
        k.T2 = -s.freq.K * seg / 2.0f;
    }
}

// The weight after the abscissa l times one pair's sums, added to t1 + jt2;
// l moves on to the next abscissa.
inline void Weigh(int& l, float t3, float t4, float& t1, float& t2) {
    ++l;
    t1 = t1 + kGaussTable[l] * t3;
    t2 = t2 + kGaussTable[l] * t4;
    ++l;
}

// The results of a quadrature: T1 + jT2 over the interval's length s4,
// with the exact-kernel term C; T3 + jT4 the last pair's sums.
void Finish(Kernel& k, float t1, float t2, float t3, float t4, float s4) {
    k.T3 = t3;
    k.T4 = t4;
    k.T1 = (t1 + k.C) * s4;
    k.T2 = t2 * s4;
}

// PsiIntegral from the tape's next record when its inputs are this
// integral's: PsiIntegral's operations on the recorded distances and
// exact-kernel terms. False (nothing done) otherwise.
bool Replay(const SolverState& s, Kernel& k) {
    GeometryTape& tape = *k.Tape;
    if (tape.cursor >= tape.records.size()) return false;
    const TapeRecord& r = tape.records[tape.cursor];
    if (!SameInputs(r, InputsOf(s, k))) return false;
    ++tape.cursor;
    k.A2 = r.a * r.a;
    k.T1 = 0.0f;
    k.T2 = 0.0f;
    k.C = 0.0f;
    if (!r.sampled) {
        ClosedForm(s, k, r.a, r.seg);
        return true;
    }
    k.C = r.c;
    const bool exact = r.thick && k.C != 0.0f;
    const float wave = s.freq.K;
    float t1 = 0.0f, t2 = 0.0f, t3 = 0.0f, t4 = 0.0f;
    std::size_t m = r.first;
    int l = r.l;
    const int end = 2 * l;
    do {
        t3 = 0.0f;
        t4 = 0.0f;
        for (int h = 0; h < 2; ++h, ++m) {
            const float d = tape.distance[m];
            if (exact) t3 = t3 + tape.exactTerm[m] - 1.0f / d;
            const float b1 = wave * d;
            t3 = t3 + std::cos(b1) / d;
            t4 = t4 - std::sin(b1) / d;
        }
        Weigh(l, t3, t4, t1, t2);
    } while (l < end);
    Finish(k, t1, t2, t3, t4, r.s4);
    return true;
}

// Appends the record of an integral about to be computed; its samples
// follow as AddSample appends them.
void Record(const SolverState& s, const Kernel& k, bool sampled, int l, float f2, float s4) {
    GeometryTape& tape = *k.Tape;
    tape.Truncate();
    TapeRecord r = InputsOf(s, k);
    r.sampled = sampled;
    r.l = l;
    r.f2 = f2;
    r.s4 = s4;
    r.c = k.C;
    r.first = tape.distance.size();
    tape.records.push_back(r);
    ++tape.cursor;
}

}  // namespace

void VectorPsi(const SolverState& s, Kernel& k) {
    const PulseTable& t = s.pulses;
    const float a = t.A[k.P4];
    const float seg = t.S[k.P4];
    // A thin wire's own half segment, seen from the pulse centre at its end.
    if (k.K >= 1 && a < s.freq.SRM && k.P3 == k.P2 + 1 && k.I == k.J) {
        k.T1 = std::log(seg / a);
        k.T2 = -s.freq.K * seg / 2.0f;
        return;
    }
    const int p = k.P1 / 2;  // the observation point is a break point
    k.X0 = t.X[p];
    k.Y0 = t.Y[p];
    k.Z0 = t.Z[p];
    k.Scalar = false;
    PsiEndpoints(s, k);
}

void ScalarPsi(const SolverState& s, Kernel& k) {
    const PulseTable& t = s.pulses;
    k.Scalar = true;
    const float a = t.A[k.P4];
    const float seg = t.S[k.P4];
    // A thin wire's whole segment, seen from its own midpoint.
    if (k.K > 0 && a <= s.freq.SRM && k.P3 == k.P2 + 2 && 2 * k.P1 == k.P2 + k.P3) {
        k.T1 = 2.0f * std::log(seg / a);
        k.T2 = -s.freq.K * seg;
        return;
    }
    // The observation point is the midpoint of the segment below P1; it is
    // always a real point, never an image.
    const int p = k.P1 / 2;
    k.X0 = (t.X[p] + t.X[p + 1]) / 2.0f;
    k.Y0 = (t.Y[p] + t.Y[p + 1]) / 2.0f;
    k.Z0 = (t.Z[p] + t.Z[p + 1]) / 2.0f;
    PsiEndpoints(s, k);
}

void PsiEndpoints(const SolverState& s, Kernel& k) {
    const float image = static_cast<float>(k.K);  // the image lies mirrored in z = 0
    float x, y, z;
    PointAt(s.pulses, k.P2, x, y, z);
    k.V1 = {x - k.X0, y - k.Y0, z * image - k.Z0};
    PointAt(s.pulses, k.P3, x, y, z);
    k.V2 = {x - k.X0, y - k.Y0, z * image - k.Z0};
    PsiIntegral(s, k);
}

void PsiIntegral(const SolverState& s, Kernel& k) {
    if (k.Tape && Replay(s, k)) return;
    const PulseTable& t = s.pulses;
    const float a = t.A[k.P4];
    const float seg = t.S[k.P4];
    const float d0 = Length(k.V1);
    const float d3 = Length(k.V2);
    k.A2 = a * a;
    const float s4 = static_cast<float>(k.P3 - k.P2) / 2.0f * seg;  // length of the interval
    float f2 = 1.0f;  // 2: sample only the first half of a symmetric interval
    int l = 7;
    k.T1 = 0.0f;
    k.T2 = 0.0f;
    k.C = 0.0f;

    // The rule follows the distance of the ends in segment lengths.
    const float tDist = (d0 + d3) / seg;
    bool plain = tDist > 1.1f || k.FieldMode == 2;
    // Near, but on wires that do not touch: plain quadrature as well.
    if (!plain) plain = !ContactMarksMeet(t, t.W[k.I], t.W[k.J]);
    if (plain) {
        l = 7;
        if (tDist > 6.0f) l = 3;
        if (tDist > 10.0f) l = 1;
    } else if (a > s.freq.SRM) {
        // Thick wire near the source: reduced kernel plus the exact-kernel
        // correction, whose logarithmic singularity is integrated in C.
        f2 = static_cast<float>(k.P3 - k.P2);
        k.C = (1.0f - std::log(s4 / f2 / 8.0f / a)) / s.Pi / a;
        l = 7;
    } else {
        // Thin wire near the source: closed forms.
        ClosedForm(s, k, a, seg);
        if (k.Tape) Record(s, k, false, 0, f2, s4);
        return;
    }
    if (k.Tape) Record(s, k, true, l, f2, s4);
    GeometryTape* const tape = k.Tape;

    const Sampler sampler(s, k);
    float t1 = 0.0f, t2 = 0.0f, t3 = 0.0f, t4 = 0.0f;
    const int end = 2 * l;
    do {
        t3 = 0.0f;
        t4 = 0.0f;
        AddSample(sampler, (kGaussTable[l] + 0.5f) / f2, t3, t4, tape);
        AddSample(sampler, (0.5f - kGaussTable[l]) / f2, t3, t4, tape);
        Weigh(l, t3, t4, t1, t2);
    } while (l < end);
    Finish(k, t1, t2, t3, t4, s4);
}

void KernelSample(const SolverState& s, Kernel& k, float t) {
    AddSample(Sampler(s, k), t, k.T3, k.T4);
}

}  // namespace qw
