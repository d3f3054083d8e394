// The potential integrals of the thin-wire kernel: psi = integral of
// e^(-jkR)/R along an interval of a wire, seen from an observation point.
//
// Break-point indices may be half-integers (p + 1/2 is the midpoint of
// break points p and p + 1). They are held doubled, as integers: 2p is
// break point p and 2p + 1 the midpoint of points p and p + 1, so no index
// is ever rounded.
#pragma once

#include <array>
#include <cmath>
#include <vector>

#include "solver/frequency_constants.h"
#include "solver/solver_state.h"

namespace qw {

// The working values of one integration: the callers set the inputs, the
// routines leave their results in T1 + jT2.
struct Kernel {
    float X0 = 0, Y0 = 0, Z0 = 0;  // observation point
    int P1 = 0;                    // observation index (doubled)
    int P2 = 0, P3 = 0;            // interval from P2 to P3 (doubled indices)
    int P4 = 0;                    // wire whose radius and segment length apply
    int K = 1;                     // +1 direct, -1 the image in the ground z = 0
    int I = 0, J = 0;              // observation and source pulse
    float T1 = 0, T2 = 0;          // result: real and imaginary part
    bool Scalar = false;           // the scalar-potential caller is active
    float C = 0;                   // exact-kernel term; 0 when not in use
    std::array<float, 3> V1{}, V2{};  // observation point to the interval's ends
    int FieldMode = 1;             // 2 (near field) forces plain quadrature

    // Running values of the quadrature.
    float A2 = 0;          // radius squared
    float T3 = 0, T4 = 0;  // kernel sums of one pair of sample points
};

// Doubled index of break point p, and of the midpoint of points p and p + 1.
constexpr int PointIndex(int p) { return 2 * p; }
constexpr int MidpointIndex(int p) { return 2 * p + 1; }

// Wires u and v touch: the same wire, or an end contact mark in common.
bool WiresTouch(const PulseTable& t, int u, int v);

// psi from break point P1 over [P2, P3] on wire P4 (the vector potential);
// the thin-wire self term of a half segment in closed form.
void VectorPsi(const SolverState& s, Kernel& k);

// psi from the midpoint index P1 over [P2, P3] on wire P4 (the scalar
// potential); the thin-wire self term of a whole segment in closed form.
void ScalarPsi(const SolverState& s, Kernel& k);

// V1, V2 from (X0, Y0, Z0) to the ends P2, P3 (their z times K), then
// PsiIntegral.
void PsiEndpoints(const SolverState& s, Kernel& k);

// The integral over the interval given by V1, V2, with P2, P3, P4, K, I, J
// and the field mode as set by the caller: PsiRule, then IntegrateByRule.
void PsiIntegral(const SolverState& s, Kernel& k);

// The quadrature rule of an integral: Gauss-Legendre with 2 * l points
// (l = 1, 3 or 7) over the interval, f2 = 2 sampling only the first half
// of a symmetric interval, c the exact-kernel term; l = 0 the thin-wire
// closed form.
struct PsiRule {
    int l = 7;
    float f2 = 1.0f;
    float c = 0.0f;
};
PsiRule RuleOf(const SolverState& s, const Kernel& k);
void IntegrateByRule(const SolverState& s, Kernel& k, const PsiRule& r);

// The points of every doubled index (break points, and midpoints as
// PointAt forms them), for the fill's batched rows.
using PointList = std::vector<std::array<float, 3>>;
void DoubledIndexPoints(const PulseTable& t, PointList& out);

// The thin-wire self terms in closed form: VectorPsi's half segment seen
// from the pulse centre at its end (direct, I = J), ScalarPsi's whole
// segment seen from its own midpoint (direct). False when neither applies.
inline bool ThinSelfTerm(const SolverState& s, int p1, int p2, int p3, int p4, int k, int i, int j, bool scalar,
                         float& t1, float& t2) {
    const float a = s.pulses.A[p4];
    const float seg = s.pulses.S[p4];
    if (!scalar && k >= 1 && a < s.freq.SRM && p3 == p2 + 1 && i == j) {
        t1 = std::log(seg / a);
        t2 = -s.freq.K * seg / 2.0f;
        return true;
    }
    if (scalar && k > 0 && a <= s.freq.SRM && p3 == p2 + 2 && 2 * p1 == p2 + p3) {
        t1 = 2.0f * std::log(seg / a);
        t2 = -s.freq.K * seg;
        return true;
    }
    return false;
}

// Both ends farther than 5.5 segment lengths: the ends' distances add up
// to more than 10 segment lengths whatever their rounding (the margin is a
// thousand times the rounding), so the 2-point rule is settled without
// the square roots.
inline bool FarApart(const std::array<float, 3>& v1, const std::array<float, 3>& v2, float seg) {
    const float farLimit = 30.3f * seg * seg;
    return v1[0] * v1[0] + v1[1] * v1[1] + v1[2] * v1[2] > farLimit &&
           v2[0] * v2[0] + v2[1] * v2[1] + v2[2] * v2[2] > farLimit;
}

// The walk along an interval from V1 to V2, or for an image (k < 0) from
// its other end.
inline void Walk(const std::array<float, 3>& v1, const std::array<float, 3>& v2, int k, std::array<float, 3>& start,
                 std::array<float, 3>& step) {
    for (int c = 0; c < 3; ++c) {
        start[c] = k >= 0 ? v1[c] : v2[c];
        step[c] = k >= 0 ? v2[c] - v1[c] : v1[c] - v2[c];
    }
}

// Adds the kernel at the fraction t of the interval to T3 + jT4.
void KernelSample(const SolverState& s, Kernel& k, float t);

}  // namespace qw
