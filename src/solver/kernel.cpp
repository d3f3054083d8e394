#include "solver/kernel.h"

#include <cmath>

#include "platform/numeric_constants.h"
#include "solver/frequency_constants.h"
#include "solver/vector_trig.h"

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

// What every sample of one integral shares, read once from the working
// values and the tables.
struct Sampler {
    Sampler(const SolverState& s, const Kernel& k)
        : thick(s.pulses.A[k.P4] > s.freq.SRM),
          exact(k.C != 0.0f),
          a(s.pulses.A[k.P4]),
          a2(k.A2),
          pi(kPi),
          waveNumber(s.freq.K) {
        Walk(k.V1, k.V2, k.K, start, step);
    }
    bool thick, exact;
    float a, a2, pi, waveNumber;
    std::array<float, 3> start, step;
};

// Adds the kernel at the fraction t of the interval to t3 + jt4.
[[gnu::always_inline]] inline void AddSample(const Sampler& q, float t, float& t3, float& t4) {
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

float IntervalLength(const Kernel& k, float seg) { return static_cast<float>(k.P3 - k.P2) / 2.0f * seg; }

}  // namespace

PsiRule RuleOf(const SolverState& s, const Kernel& k) {
    const PulseTable& t = s.pulses;
    // Plain quadrature (the near field) never asks whether the wires touch.
    const bool touching = k.FieldMode == 2 || WiresTouch(t, t.W[k.I], t.W[k.J]);
    const float a = t.A[k.P4];
    const float seg = t.S[k.P4];
    PsiRule r;
    // (The reference kernels take the square roots.)
    if (!s.referenceKernels && FarApart(k.V1, k.V2, seg)) {
        r.l = 1;
        return r;
    }
    // The rule follows the distance of the ends in segment lengths.
    const float tDist = (Length(k.V1) + Length(k.V2)) / seg;
    // Near, but on wires that do not touch: plain quadrature as well.
    if (tDist > 1.1f || k.FieldMode == 2 || !touching) {
        if (tDist > 6.0f) r.l = 3;
        if (tDist > 10.0f) r.l = 1;
    } else if (a > s.freq.SRM) {
        // Thick wire near the source: reduced kernel plus the exact-kernel
        // correction, whose logarithmic singularity is integrated in C.
        r.f2 = static_cast<float>(k.P3 - k.P2);
        r.c = (1.0f - std::log(IntervalLength(k, seg) / r.f2 / 8.0f / a)) / kPi / a;
    } else {
        r.l = 0;  // thin wire near the source: closed forms
    }
    return r;
}

void IntegrateByRule(const SolverState& s, Kernel& k, const PsiRule& r) {
    const float a = s.pulses.A[k.P4];
    const float seg = s.pulses.S[k.P4];
    k.A2 = a * a;
    k.C = r.c;
    if (r.l == 0) {
        ClosedForm(s, k, a, seg);
        return;
    }
    const Sampler sampler(s, k);
    float t1 = 0.0f, t2 = 0.0f, t3 = 0.0f, t4 = 0.0f;
    int l = r.l;
    const int end = 2 * l;
    do {
        t3 = 0.0f;
        t4 = 0.0f;
        AddSample(sampler, (kGaussTable[l] + 0.5f) / r.f2, t3, t4);
        AddSample(sampler, (0.5f - kGaussTable[l]) / r.f2, t3, t4);
        Weigh(l, t3, t4, t1, t2);
    } while (l < end);
    Finish(k, t1, t2, t3, t4, IntervalLength(k, seg));
}

bool WiresTouch(const PulseTable& t, int u, int v) {
    return t.J2[u][1] == t.J2[v][1] || t.J2[u][1] == t.J2[v][2] || t.J2[u][2] == t.J2[v][1] ||
           t.J2[u][2] == t.J2[v][2];
}

void VectorPsi(const SolverState& s, Kernel& k) {
    if (ThinSelfTerm(s, k.P1, k.P2, k.P3, k.P4, k.K, k.I, k.J, false, k.T1, k.T2)) return;
    const PulseTable& t = s.pulses;
    const int p = k.P1 / 2;  // the observation point is a break point
    k.X0 = t.X[p];
    k.Y0 = t.Y[p];
    k.Z0 = t.Z[p];
    k.Scalar = false;
    PsiEndpoints(s, k);
}

void ScalarPsi(const SolverState& s, Kernel& k) {
    k.Scalar = true;
    if (ThinSelfTerm(s, k.P1, k.P2, k.P3, k.P4, k.K, k.I, k.J, true, k.T1, k.T2)) return;
    const PulseTable& t = s.pulses;
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

void PsiIntegral(const SolverState& s, Kernel& k) { IntegrateByRule(s, k, RuleOf(s, k)); }

void DoubledIndexPoints(const PulseTable& t, PointList& out) {
    const int count = 2 * (t.N + 2 * t.NW) + 2;
    out.resize(static_cast<std::size_t>(count));
    for (int index = 2; index < count; ++index) {
        std::array<float, 3>& p = out[static_cast<std::size_t>(index)];
        PointAt(t, index, p[0], p[1], p[2]);
    }
}

void KernelSample(const SolverState& s, Kernel& k, float t) {
    AddSample(Sampler(s, k), t, k.T3, k.T4);
}

}  // namespace qw
