// The batched row's runs of intervals along whole wires. A regular term
// (pulse J lies whole on its own wire w) asks six integrals: J's half
// segments seen from the row's centre c(I), and J's two segments seen from
// the midpoints c(I) + 1/2 and c(I) - 1/2. Over all regular pulses of w
// these are every half segment and every segment of w's run, so a row
// computes each of them once, as runs along the wire: the far ones'
// samples side by side in vector lanes, the others one by one. Each takes
// the steps Integral takes for it, so the values are the same.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "solver/frequency_constants.h"
#include "solver/term_kernels.h"
#include "solver/vector_trig.h"

namespace qw {
namespace {

typedef float Lanes __attribute__((vector_size(32)));
typedef int LaneMask __attribute__((vector_size(32)));
constexpr int kLanes = 8;

// Eight floats from p (by reference: a vector value would pass in a
// register only where AVX is enabled).
[[gnu::always_inline]] inline const Lanes& Load(Lanes& v, const float* p) {
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The two samples of the 2-point rule of `count` intervals from points
// (x1, y1, z1)[t] to (x2, y2, z2)[t], seen from o, and whether each is far
// apart (FarApart); the operations of Integral's far path, lane by lane.
// Writes whole blocks of eight (the arrays are padded).
template <bool Forward>
__attribute__((target_clones("avx2", "default"))) void RunSamples(const float* x1, const float* y1, const float* z1,
                                                                   const float* x2, const float* y2, const float* z2,
                                                                   int count, float ox, float oy, float oz, float k,
                                                                   float seg, float* sampleA, float* sampleB,
                                                                   int* far) {
    const float farLimit = 30.3f * seg * seg;
    const float tPlus = kGaussTable[1] + 0.5f, tMinus = 0.5f - kGaussTable[1];
    for (int t = 0; t < count; t += kLanes) {
        Lanes e1x, e1y, e1z, e2x, e2y, e2z;
        const Lanes v1x = Load(e1x, x1 + t) - ox, v1y = Load(e1y, y1 + t) - oy, v1z = Load(e1z, z1 + t) * k - oz;
        const Lanes v2x = Load(e2x, x2 + t) - ox, v2y = Load(e2y, y2 + t) - oy, v2z = Load(e2z, z2 + t) * k - oz;
        const Lanes r1 = v1x * v1x + v1y * v1y + v1z * v1z;
        const Lanes r2 = v2x * v2x + v2y * v2y + v2z * v2z;
        const LaneMask isFar = (r1 > farLimit) & (r2 > farLimit);
        // Walk: from V1 towards V2, or for an image from V2 back.
        const Lanes sx = Forward ? v1x : v2x, sy = Forward ? v1y : v2y, sz = Forward ? v1z : v2z;
        const Lanes dx = Forward ? v2x - v1x : v1x - v2x;
        const Lanes dy = Forward ? v2y - v1y : v1y - v2y;
        const Lanes dz = Forward ? v2z - v1z : v1z - v2z;
        const Lanes ax = sx + tPlus * dx, ay = sy + tPlus * dy, az = sz + tPlus * dz;
        const Lanes bx = sx + tMinus * dx, by = sy + tMinus * dy, bz = sz + tMinus * dz;
        const Lanes a = ax * ax + ay * ay + az * az;
        const Lanes b = bx * bx + by * by + bz * bz;
        std::memcpy(sampleA + t, &a, sizeof a);
        std::memcpy(sampleB + t, &b, sizeof b);
        std::memcpy(far + t, &isFar, sizeof isFar);
    }
}

// SumOf's 2-point rule for `count` intervals side by side: t3 and t4 from
// the two samples' kernels, then t1, t2 over the length s4.
__attribute__((target_clones("avx2", "default"))) void RunSums(const float* cosA, const float* sinA,
                                                                const float* cosB, const float* sinB, const float* s4,
                                                                int count, float* t1, float* t2) {
    const float weight = kGaussTable[2];
    int t = 0;
    for (; t + kLanes <= count; t += kLanes) {
        Lanes ca, sa, cb, sb, length;
        const Lanes t3 = (0.0f + Load(ca, cosA + t)) + Load(cb, cosB + t);
        const Lanes t4 = (0.0f - Load(sa, sinA + t)) - Load(sb, sinB + t);
        Load(length, s4 + t);
        const Lanes u1 = (0.0f + weight * t3 + 0.0f) * length;
        const Lanes u2 = (0.0f + weight * t4) * length;
        std::memcpy(t1 + t, &u1, sizeof u1);
        std::memcpy(t2 + t, &u2, sizeof u2);
    }
    // The rest one by one (the values around them belong to other runs).
    for (; t < count; ++t) {
        const float t3 = (0.0f + cosA[t]) + cosB[t];
        const float t4 = (0.0f - sinA[t]) - sinB[t];
        t1[t] = (0.0f + weight * t3 + 0.0f) * s4[t];
        t2[t] = (0.0f + weight * t4) * s4[t];
    }
}

}  // namespace

void BatchedRow::SetUpIntervals() {
    const PulseTable& t = s_.pulses;
    const std::size_t pulses = static_cast<std::size_t>(t.N) + 1, wires = static_cast<std::size_t>(t.NW) + 1;
    regularPulse_.assign(pulses, 0);
    regularRange_.assign(wires, {0, 0});
    // A wire's regular pulses (both halves on the pulse's own wire) run
    // from its first to its last regular one without a gap, since only the
    // pulses at its ends reach other wires; a wire where they do not is
    // left to the terms one by one.
    const auto regular = [&](int j, int w) { return t.W[j] == w && std::abs(t.C[j][1]) == w && std::abs(t.C[j][2]) == w; };
    for (int w = 1; w <= t.NW; ++w) {
        int first = 0, last = 0;
        for (int j = t.Nw[w][1]; j >= 1 && j <= t.Nw[w][2]; ++j)
            if (regular(j, w)) {
                if (first == 0) first = j;
                last = j;
            }
        if (first == 0) continue;
        bool whole = true;
        for (int j = first; j <= last; ++j) whole = whole && regular(j, w);
        if (!whole) continue;
        regularRange_[static_cast<std::size_t>(w)] = {first, last};
        for (int j = first; j <= last; ++j) regularPulse_[static_cast<std::size_t>(j)] = 1;
    }
    for (int side = 0; side < 2; ++side) {
        wireNeeded_[static_cast<std::size_t>(side)].assign(wires, 0);
        afterRow_[static_cast<std::size_t>(side)].assign(wires, -1);
        neededWires_[static_cast<std::size_t>(side)].clear();
    }
    lastRow_ = -1;
    // The break points and the midpoints after them, padded for whole lanes.
    const std::size_t points = points_.size() / 2 + 1;
    for (auto* v : {&bx_, &by_, &bz_, &mx_, &my_, &mz_}) v->assign(points + 2 * kLanes, 0.0f);
    for (std::size_t p = 0; p < points_.size(); ++p) {
        const std::size_t c = p / 2;
        if (p % 2 == 0)
            bx_[c] = points_[p][0], by_[c] = points_[p][1], bz_[c] = points_[p][2];
        else
            mx_[c] = points_[p][0], my_[c] = points_[p][1], mz_[c] = points_[p][2];
    }
    valueStride_ = points + kLanes;
    // Only what a row writes is read (or the previous row's, copied).
    values_ = std::make_unique_for_overwrite<float[]>(2 * kKinds * 2 * valueStride_);
    // Each side: at most every half segment (2 N) and every segment from
    // both midpoints (2 (N + NW)), with a block of lanes to spare.
    const std::size_t intervals = 2 * (4 * static_cast<std::size_t>(t.N) + 2 * static_cast<std::size_t>(t.NW)) + 2 * kLanes;
    for (auto* v : {&runA_, &runB_, &runA2_, &runDist_, &runCosA_, &runSinA_, &runCosB_, &runSinB_, &runS4_})
        *v = std::make_unique_for_overwrite<float[]>(intervals);
    runFar_ = std::make_unique_for_overwrite<int[]>(intervals);
}

void BatchedRow::Run(const RunEnds& ends, int count, int observer, int p2First, int length, int wire, int image,
                     int dest) {
    if (count <= 0) return;
    const bool scalar = length == 2;
    const std::array<float, 3>& o = points_[static_cast<std::size_t>(observer)];
    const float seg = s_.pulses.S[wire];
    const float k = static_cast<float>(image);
    float* a = runA_.get() + runCount_;
    float* b = runB_.get() + runCount_;
    int* far = runFar_.get() + runCount_;
    if (image >= 0)
        RunSamples<true>(ends.x1, ends.y1, ends.z1, ends.x2, ends.y2, ends.z2, count, o[0], o[1], o[2], k, seg, a, b,
                         far);
    else
        RunSamples<false>(ends.x1, ends.y1, ends.z1, ends.x2, ends.y2, ends.z2, count, o[0], o[1], o[2], k, seg, a,
                          b, far);
    const float radius = s_.pulses.A[wire];
    const float a2 = radius > s_.freq.SRM ? radius * radius : 0.0f;
    const float s4 = static_cast<float>(length) / 2.0f * seg;
    const int j = regularRange_[static_cast<std::size_t>(wire)][0];  // a pulse on the wire, for the rules
    std::fill_n(runA2_.get() + runCount_, count, a2);
    std::fill_n(runS4_.get() + runCount_, count, s4);
    runs_.push_back(RunPlace{runCount_, count, dest});
    for (int t = 0; t < count; ++t) {
        if (far[t]) continue;
        // Not far apart: the self term in closed form, or the near rule,
        // as Integral takes them (the self term's owner pulse is the row's
        // own: the interval's centre end is c(I)).
        const int p2 = p2First + 2 * t, p3 = p2 + length;
        float t1, t2;
        const bool self = scalar ? 2 * observer == p2 + p3 : (p2 == centre_ || p3 == centre_);
        if (self && ThinSelfTerm(s_, observer, p2, p3, wire, image, i_, i_, scalar, t1, t2)) {
            closedRunValues_.push_back(ClosedRunValue{dest + t, t1, t2});
            continue;
        }
        const std::array<float, 3>& e1 = points_[static_cast<std::size_t>(p2)];
        const std::array<float, 3>& e2 = points_[static_cast<std::size_t>(p3)];
        const std::array<float, 3> v1 = {e1[0] - o[0], e1[1] - o[1], e1[2] * k - o[2]};
        const std::array<float, 3> v2 = {e2[0] - o[0], e2[1] - o[1], e2[2] * k - o[2]};
        Kernel w;
        PsiRule r;
        std::array<float, 3> start, walk;
        float nearA2, nearS4;
        if (NearRule(o, v1, v2, observer, p2, p3, wire, image, j, scalar, w, r, start, walk, nearA2, nearS4)) {
            closedRunValues_.push_back(ClosedRunValue{dest + t, w.T1, w.T2});
            continue;
        }
        nearRunQuadratures_.push_back(NearRunQuadrature{dest + t, NearQuadrature(r, start, walk, nearA2, nearS4)});
    }
    runCount_ += count;
}

void BatchedRow::AskIntervals() {
    runCount_ = 0;
    runs_.clear();
    closedRunValues_.clear();
    nearRunQuadratures_.clear();
    const PulseTable& t = s_.pulses;
    const bool afterPrevious = lastRow_ == i_ - 1 && i_ > 1 && t.W[i_] == t.W[i_ - 1];
    const RunEnds breakPoints{bx_.data(), by_.data(), bz_.data(), bx_.data() + 1, by_.data() + 1, bz_.data() + 1};
    const RunEnds secondHalves{bx_.data(), by_.data(), bz_.data(), mx_.data(), my_.data(), mz_.data()};
    // (first halves from c - 1: the midpoint after c - 1, then c)
    const RunEnds firstHalves{mx_.data(), my_.data(), mz_.data(), bx_.data() + 1, by_.data() + 1, bz_.data() + 1};
    const auto from = [](const RunEnds& e, int c) {
        return RunEnds{e.x1 + c, e.y1 + c, e.z1 + c, e.x2 + c, e.y2 + c, e.z2 + c};
    };
    for (int side = 0; side < 2; ++side) {
        const int image = side == 0 ? 1 : -1;
        std::vector<int>& held = afterRow_[static_cast<std::size_t>(side)];
        for (const int w : neededWires_[static_cast<std::size_t>(side)]) {
            const std::array<int, 2>& range = regularRange_[static_cast<std::size_t>(w)];
            // The centres' break points ca..cb, and the segments c..c+1 for
            // c = ca - 1..cb.
            const int ca = t.Centre(range[0]), cb = t.Centre(range[1]);
            const int pulses = cb - ca + 1, segments = pulses + 1;
            Run(from(secondHalves, ca), pulses, centre_, 2 * ca, 1, w, image, ValueBase(side, kSecond, 0) + ca);
            Run(from(firstHalves, ca - 1), pulses, centre_, 2 * ca - 1, 1, w, image, ValueBase(side, kFirst, 0) + ca);
            // From the midpoint before c(I): the previous row's segments from
            // its midpoint after, when that row was the pulse before on the
            // same wire.
            if (afterPrevious && held[static_cast<std::size_t>(w)] == i_ - 1) {
                for (int part = 0; part < 2; ++part)
                    std::memcpy(values_.get() + ValueBase(side, kBefore, part) + ca - 1,
                                values_.get() + ValueBase(side, kAfter, part) + ca - 1, sizeof(float) * segments);
            } else {
                Run(from(breakPoints, ca - 1), segments, centre_ - 1, 2 * (ca - 1), 2, w, image,
                    ValueBase(side, kBefore, 0) + ca - 1);
            }
            Run(from(breakPoints, ca - 1), segments, centre_ + 1, 2 * (ca - 1), 2, w, image,
                ValueBase(side, kAfter, 0) + ca - 1);
            held[static_cast<std::size_t>(w)] = i_;
            wireNeeded_[static_cast<std::size_t>(side)][static_cast<std::size_t>(w)] = 0;
        }
    }
    // Wires not asked this row hold nothing of it.
    for (int side = 0; side < 2; ++side) {
        std::vector<int>& held = afterRow_[static_cast<std::size_t>(side)];
        for (int w = 1; w <= t.NW; ++w)
            if (held[static_cast<std::size_t>(w)] != i_) held[static_cast<std::size_t>(w)] = -1;
        neededWires_[static_cast<std::size_t>(side)].clear();
    }
    lastRow_ = i_;
}

void BatchedRow::AnswerIntervals() {
    float* v = values_.get();
    const int part2 = static_cast<int>(valueStride_);
    if (runCount_ > 0) {
        KernelTerms(runA_.get(), runA2_.get(), s_.freq.K, runDist_.get(), runCosA_.get(), runSinA_.get(), runCount_);
        KernelTerms(runB_.get(), runA2_.get(), s_.freq.K, runDist_.get(), runCosB_.get(), runSinB_.get(), runCount_);
        // Each run's sums straight into its values.
        for (const RunPlace& r : runs_)
            RunSums(runCosA_.get() + r.first, runSinA_.get() + r.first, runCosB_.get() + r.first,
                    runSinB_.get() + r.first, runS4_.get() + r.first, r.count, v + r.dest, v + r.dest + part2);
    }
    for (const ClosedRunValue& c : closedRunValues_) {
        v[c.dest] = c.t1;
        v[c.dest + part2] = c.t2;
    }
    for (const NearRunQuadrature& n : nearRunQuadratures_) {
        v[n.dest] = sum1_[static_cast<std::size_t>(n.q)];
        v[n.dest + part2] = sum2_[static_cast<std::size_t>(n.q)];
    }
}

}  // namespace qw
