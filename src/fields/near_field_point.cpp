#include "fields/near_field_point.h"

#include <algorithm>

#include "solver/kernel.h"

namespace qw {
namespace {

struct Complex {
    float re = 0, im = 0;
};

using ComplexVector = std::array<Complex, 3>;

float Sign(int v) { return v > 0 ? 1.0f : (v < 0 ? -1.0f : 0.0f); }

// The complex product a b.
Complex Times(Complex a, Complex b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }

// psi over the interval [p2, p3] (doubled indices) on wire `wire`, seen from
// (x, y, z); the interval's z mirrored when image = -1. Near-field mode:
// always plain quadrature.
Complex Psi(const SolverState& s, int image, const std::array<float, 3>& p, int p2, int p3, int wire) {
    Kernel k;
    k.FieldMode = 2;
    k.K = image;
    k.X0 = p[0];
    k.Y0 = p[1];
    k.Z0 = p[2];
    k.P2 = p2;
    k.P3 = p3;
    k.P4 = wire;
    PsiEndpoints(s, k);
    return {k.T1, k.T2};
}

// One pulse as the sums see it: the half from the midpoint of segment
// (J - 1, J) to the centre J on wire w1, the half from J to the midpoint of
// (J, J + 1) on wire w2, and the charges on the whole segments.
struct PulseHalves {
    int w1 = 0, w2 = 0;
    float s1 = 1, s2 = 1;  // +1 along the wire, -1 against it
    float f6 = 1, f7 = 1;  // factors of the halves' z parts
    int J = 0;             // centre break point
    Complex current;
};

PulseHalves HalvesOf(const SolverState& s, int i) {
    const PulseTable& t = s.pulses;
    PulseHalves h;
    h.w1 = t.C[i][1] < 0 ? -t.C[i][1] : t.C[i][1];
    h.w2 = t.C[i][2] < 0 ? -t.C[i][2] : t.C[i][2];
    h.s1 = Sign(t.C[i][1]);
    h.s2 = Sign(t.C[i][2]);
    // At the ground the image half rises towards the wire: both halves
    // point the same way in z.
    if (t.IsGroundPulse(i)) {
        h.f6 = h.s1;
        h.f7 = h.s2;
    }
    h.J = t.Centre(i);
    h.current = {s.CR[i], s.CI[i]};
    return h;
}

// Calls visit(halves, image) for every pulse in the direct pass and, over
// ground, in the image pass, which leaves out the ground pulses: their
// image half is part of the pulse itself.
template <class Visit>
void ForEachPulse(const SolverState& s, bool ground, Visit visit) {
    const PulseTable& t = s.pulses;
    for (int image = 1; image >= (ground ? -1 : 1); image -= 2)
        for (int i = 1; i <= t.N; ++i) {
            if (image == -1 && t.IsGroundPulse(i)) continue;
            visit(HalvesOf(s, i), image);
        }
}

// The vector potential of one pulse at p: s2 V2 u(w2) + s1 V1 u(w1), its z
// part times the image sign.
ComplexVector PulseVectorPotential(const SolverState& s, const PulseHalves& h, int image,
                                   const std::array<float, 3>& p) {
    const PulseTable& t = s.pulses;
    const Complex v2 = Psi(s, image, p, PointIndex(h.J), MidpointIndex(h.J), h.w2);
    const Complex v1 = Psi(s, image, p, MidpointIndex(h.J - 1), PointIndex(h.J), h.w1);
    const Complex u2 = {h.s2 * v2.re, h.s2 * v2.im};
    const Complex u1 = {h.s1 * v1.re, h.s1 * v1.im};
    const float k = static_cast<float>(image);
    ComplexVector a;
    a[0] = {u2.re * t.CA[h.w2] + u1.re * t.CA[h.w1], u2.im * t.CA[h.w2] + u1.im * t.CA[h.w1]};
    a[1] = {u2.re * t.CB[h.w2] + u1.re * t.CB[h.w1], u2.im * t.CB[h.w2] + u1.im * t.CB[h.w1]};
    a[2] = {(h.f7 * u2.re * t.CG[h.w2] + h.f6 * u1.re * t.CG[h.w1]) * k,
            (h.f7 * u2.im * t.CG[h.w2] + h.f6 * u1.im * t.CG[h.w1]) * k};
    return a;
}

// p moved by `by` along axis c.
std::array<float, 3> Moved(std::array<float, 3> p, int c, float by) {
    p[c] = p[c] + by;
    return p;
}

// The squared distance from p to the segment from break point a to break
// point b, their z times the image sign.
float SquaredDistanceToSegment(const PulseTable& t, int a, int b, float image, const std::array<float, 3>& p) {
    const float ax = t.X[a], ay = t.Y[a], az = t.Z[a] * image;
    const float vx = t.X[b] - ax, vy = t.Y[b] - ay, vz = t.Z[b] * image - az;
    const float wx = p[0] - ax, wy = p[1] - ay, wz = p[2] - az;
    const float vv = vx * vx + vy * vy + vz * vz;
    float u = 0.0f;
    if (vv > 0.0f) u = std::clamp((wx * vx + wy * vy + wz * vz) / vv, 0.0f, 1.0f);
    const float dx = wx - u * vx, dy = wy - u * vy, dz = wz - u * vz;
    return dx * dx + dy * dy + dz * dz;
}

}  // namespace

FieldVector ElectricFieldAt(const SolverState& s, bool ground, float x, float y, float z) {
    const std::array<float, 3> p = {x, y, z};
    const float d = 0.002f * s.freq.Lambda;  // the displacement along each axis
    const float quarter = d / 4.0f;
    const PulseTable& t = s.pulses;
    ComplexVector sum{};
    ForEachPulse(s, ground, [&](const PulseHalves& h, int image) {
        const ComplexVector a = PulseVectorPotential(s, h, image, p);
        const float k = static_cast<float>(image);
        for (int c = 0; c < 3; ++c) {
            const Complex q = {s.freq.W2 * (a[c].re * d), s.freq.W2 * (a[c].im * d)};
            const std::array<float, 3> minus = Moved(p, c, -quarter);
            const std::array<float, 3> plus = Moved(p, c, quarter);
            // The charges of the segments (J, J + 1) and (J - 1, J).
            const Complex phi2m = Psi(s, image, minus, PointIndex(h.J), PointIndex(h.J + 1), h.w2);
            const Complex phi2p = Psi(s, image, plus, PointIndex(h.J), PointIndex(h.J + 1), h.w2);
            const Complex phi1p = Psi(s, image, plus, PointIndex(h.J - 1), PointIndex(h.J), h.w1);
            const Complex phi1m = Psi(s, image, minus, PointIndex(h.J - 1), PointIndex(h.J), h.w1);
            const Complex d2 = {(phi2m.re - phi2p.re) / t.S[h.w2], (phi2m.im - phi2p.im) / t.S[h.w2]};
            const Complex d1 = {(phi1p.re - phi1m.re) / t.S[h.w1], (phi1p.im - phi1m.im) / t.S[h.w1]};
            const Complex term = {k * (q.re + d1.re + d2.re), k * (q.im + d1.im + d2.im)};
            const Complex add = Times(h.current, term);
            sum[c].re = sum[c].re + add.re;
            sum[c].im = sum[c].im + add.im;
        }
    });
    // E = -j C S.
    const float scale = s.freq.M / s.freq.S0;  // 4.77783352 lambda / (0.001 lambda)
    FieldVector e;
    for (int c = 0; c < 3; ++c) {
        e.re[c] = scale * sum[c].im;
        e.im[c] = -scale * sum[c].re;
    }
    return e;
}

FieldVector MagneticCurlAt(const SolverState& s, bool ground, float x, float y, float z) {
    const std::array<float, 3> p = {x, y, z};
    const float half = s.freq.S0 / 2.0f;  // 0.0005 lambda
    // The total vector potential at p - half along axis a (entry 2a) and at
    // p + half along it (entry 2a + 1).
    std::array<ComplexVector, 6> total{};
    ForEachPulse(s, ground, [&](const PulseHalves& h, int image) {
        const float k = static_cast<float>(image);
        for (int n = 0; n < 6; ++n) {
            const ComplexVector a = PulseVectorPotential(s, h, image, Moved(p, n / 2, n % 2 == 0 ? -half : half));
            for (int b = 0; b < 3; ++b) {
                const Complex add = Times(h.current, {k * a[b].re, k * a[b].im});
                total[n][b].re = total[n][b].re + add.re;
                total[n][b].im = total[n][b].im + add.im;
            }
        }
    });
    // delta(a, b): A_b across axis a.
    auto delta = [&](int a, int b) {
        return Complex{total[2 * a + 1][b].re - total[2 * a][b].re, total[2 * a + 1][b].im - total[2 * a][b].im};
    };
    auto curl = [&](int a1, int b1, int a2, int b2) {
        const Complex u = delta(a1, b1), v = delta(a2, b2);
        return Complex{u.re - v.re, u.im - v.im};
    };
    const Complex hx = curl(1, 2, 2, 1), hy = curl(2, 0, 0, 2), hz = curl(0, 1, 1, 0);
    FieldVector h;
    h.re = {hx.re, hy.re, hz.re};
    h.im = {hx.im, hy.im, hz.im};
    return h;
}

int WireAtPoint(const SolverState& s, bool ground, float x, float y, float z) {
    const std::array<float, 3> p = {x, y, z};
    const PulseTable& t = s.pulses;
    int found = 0;
    ForEachPulse(s, ground, [&](const PulseHalves& h, int image) {
        if (found != 0) return;
        const float k = static_cast<float>(image);
        const float r1 = std::max(t.A[h.w1], 1e-5f), r2 = std::max(t.A[h.w2], 1e-5f);
        if (SquaredDistanceToSegment(t, h.J - 1, h.J, k, p) < r1 * r1)
            found = h.w1;
        else if (SquaredDistanceToSegment(t, h.J, h.J + 1, k, p) < r2 * r2)
            found = h.w2;
    });
    return found;
}

}  // namespace qw
