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

// Plain quadratures gathered from many integrals, their kernels taken all
// at once in vector lanes, their sums then formed one integral after the
// other in the order PsiIntegral forms them: the very values it would
// give.
class SampleBatch {
public:
    void Clear();
    // Appends the quadrature of rule l (2 * l samples) over length s4 whose
    // samples follow; returns its number.
    int Begin(int l, float s4) {
        integrals_.push_back({static_cast<int>(d3_.size()), l, s4});
        return static_cast<int>(integrals_.size()) - 1;
    }
    void AddSample(float d3, float a2) {
        d3_.push_back(d3);
        a2_.push_back(a2);
    }
    // Begin and the samples of a plain quadrature of rule l (F2 = 1, and
    // t / 1 is t): their squared distances as AddSample forms them, walked
    // from `start` by `step`; a2 is 0 for a thin wire.
    int AppendQuadrature(int l, float s4, const std::array<float, 3>& start, const std::array<float, 3>& step,
                         float a2) {
        const int id = Begin(l, s4);
        for (int q = l; q < 2 * l; q += 2)
            for (const float t : {kGaussTable[q] + 0.5f, 0.5f - kGaussTable[q]}) {
                const float px = start[0] + t * step[0];
                const float py = start[1] + t * step[1];
                const float pz = start[2] + t * step[2];
                AddSample(px * px + py * py + pz * pz, a2);
            }
        return id;
    }
    // The kernels of every sample at wave number k.
    void Evaluate(float k);
    // T1 + jT2 of integral `id`, after Evaluate: PsiIntegral's sums of the
    // pairs' kernels, each weighted, over the interval's length.
    void Result(int id, float& t1, float& t2) const {
        const Pending& p = integrals_[static_cast<std::size_t>(id)];
        const float* cd = cosOverD_.data() + p.first;
        const float* sd = sinOverD_.data() + p.first;
        t1 = 0.0f;
        t2 = 0.0f;
        for (int l = p.l; l < 2 * p.l; l += 2, cd += 2, sd += 2) {
            float t3 = 0.0f, t4 = 0.0f;
            t3 = t3 + cd[0];
            t4 = t4 - sd[0];
            t3 = t3 + cd[1];
            t4 = t4 - sd[1];
            t1 = t1 + kGaussTable[l + 1] * t3;
            t2 = t2 + kGaussTable[l + 1] * t4;
        }
        t1 = (t1 + 0.0f) * p.s4;  // no exact-kernel term in a batch
        t2 = t2 * p.s4;
    }

private:
    struct Pending {
        int first, l;
        float s4;
    };
    std::vector<Pending> integrals_;
    std::vector<float> d3_, a2_, d_, cosOverD_, sinOverD_;
};

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
    // With a batch, a plain quadrature is appended to it and its number left
    // in Pending (T1, T2 unset); otherwise, and for closed forms and the
    // exact kernel, Pending is -1 and T1, T2 hold the result.
    SampleBatch* Batch = nullptr;
    int Pending = -1;

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
// and the field mode as set by the caller.
void PsiIntegral(const SolverState& s, Kernel& k);

// The points of every doubled index (break points, and midpoints as
// PointAt forms them), for DeferredPsi.
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

// DeferredPsi when the interval is near: PsiIntegral with the batch.
void DeferredPsiNear(const SolverState& s, const std::array<float, 3>& obs, const std::array<float, 3>& v1,
                     const std::array<float, 3>& v2, int p1, int p2, int p3, int p4, int k, int i, int j, bool scalar,
                     SampleBatch& batch, float& t1, float& t2, int& pending);

// One integral of the fill's batch, from the observation point `obs` at
// doubled index p1 over [p2, p3] on wire p4, image sign k, pulse pair
// (i, j): VectorPsi (scalar false) or ScalarPsi (scalar true) with a
// batch, without the working values. Either t1, t2 are set and pending is
// -1, or the quadrature is pending in the batch under that number.
inline void DeferredPsi(const SolverState& s, const PointList& points, const std::array<float, 3>& obs, int p1,
                        int p2, int p3, int p4, int k, int i, int j, bool scalar, SampleBatch& batch, float& t1,
                        float& t2, int& pending) {
    pending = -1;
    if (ThinSelfTerm(s, p1, p2, p3, p4, k, i, j, scalar, t1, t2)) return;
    // V1, V2 as PsiEndpoints forms them.
    const float image = static_cast<float>(k);
    const std::array<float, 3>& e1 = points[static_cast<std::size_t>(p2)];
    const std::array<float, 3>& e2 = points[static_cast<std::size_t>(p3)];
    const std::array<float, 3> v1 = {e1[0] - obs[0], e1[1] - obs[1], e1[2] * image - obs[2]};
    const std::array<float, 3> v2 = {e2[0] - obs[0], e2[1] - obs[1], e2[2] * image - obs[2]};
    const float a = s.pulses.A[p4];
    const float seg = s.pulses.S[p4];
    if (FarApart(v1, v2, seg)) {
        // The 2-point rule, as Integrate appends it.
        std::array<float, 3> start, step;
        Walk(v1, v2, k, start, step);
        pending = batch.AppendQuadrature(1, static_cast<float>(p3 - p2) / 2.0f * seg, start, step,
                                         a > s.freq.SRM ? a * a : 0.0f);
        return;
    }
    DeferredPsiNear(s, obs, v1, v2, p1, p2, p3, p4, k, i, j, scalar, batch, t1, t2, pending);
}

// Adds the kernel at the fraction t of the interval to T3 + jT4.
void KernelSample(const SolverState& s, Kernel& k, float t);

}  // namespace qw
