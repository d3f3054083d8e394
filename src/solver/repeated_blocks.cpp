#include "solver/repeated_blocks.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>

#include "solver/kernel.h"

namespace qw {
namespace {

std::uint32_t Bits(float v) {
    std::uint32_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Free wires: every pulse lies wholly on its own wire, and no pulse of
// another wire has a half on it (no junction, no ground contact).
std::vector<bool> FreeWires(const PulseTable& t) {
    std::vector<bool> free(t.NW + 1);
    for (int w = 1; w <= t.NW; ++w) free[w] = t.Nw[w][2] >= t.Nw[w][1];
    for (int i = 1; i <= t.N; ++i) {
        const int w = t.W[i];
        if (t.C[i][1] != w || t.C[i][2] != w) {
            free[w] = false;
            free[std::abs(t.C[i][1])] = false;
            free[std::abs(t.C[i][2])] = false;
        }
    }
    return free;
}

// The break points of wire w: from one segment before its first pulse's
// centre to one after its last one's.
struct PointRange {
    int first, count;
};
PointRange PointsOf(const PulseTable& t, int w) {
    return {t.Centre(t.Nw[w][1]) - 1, t.Nw[w][2] - t.Nw[w][1] + 3};
}

}  // namespace

RepeatedBlocks::RepeatedBlocks(const PulseTable& t, bool ground, bool enabled)
    : nw_(t.NW), w_(t.N + 1), from_((t.NW + 1) * (t.NW + 1), -1), first_(t.NW + 1), count_(t.NW + 1) {
    for (int i = 1; i <= t.N; ++i) w_[i] = t.W[i];
    if (!enabled) return;
    const std::vector<bool> free = FreeWires(t);
    const std::array<const float*, 3> axes = {t.X.data(), t.Y.data(), t.Z.data()};

    // Per wire: the first wire of the same make, and per axis the first wire
    // with the very same coordinate list, whether the list is constant.
    std::vector<int> make(t.NW + 1);
    std::array<std::vector<int>, 3> sameList;
    std::array<std::vector<bool>, 3> constant;
    for (int c = 0; c < 3; ++c) sameList[c].assign(t.NW + 1, 0), constant[c].assign(t.NW + 1, false);
    for (int w = 1; w <= t.NW; ++w) {
        if (!free[w]) continue;
        first_[w] = t.Nw[w][1];
        count_[w] = t.Nw[w][2] - t.Nw[w][1] + 1;
        const PointRange pw = PointsOf(t, w);
        make[w] = w;
        for (int c = 0; c < 3; ++c) {
            const float* list = axes[c] + pw.first;
            sameList[c][w] = w;
            constant[c][w] = true;
            for (int p = 1; p < pw.count; ++p) constant[c][w] = constant[c][w] && Bits(list[p]) == Bits(list[0]);
        }
        for (int v = 1; v < w; ++v) {
            if (!free[v] || count_[v] != count_[w]) continue;
            const PointRange pv = PointsOf(t, v);
            if (make[w] == w && Bits(t.A[v]) == Bits(t.A[w]) && Bits(t.S[v]) == Bits(t.S[w]) &&
                Bits(t.CA[v]) == Bits(t.CA[w]) && Bits(t.CB[v]) == Bits(t.CB[w]) && Bits(t.CG[v]) == Bits(t.CG[w]))
                make[w] = v;
            for (int c = 0; c < 3; ++c)
                if (sameList[c][w] == w &&
                    std::memcmp(axes[c] + pv.first, axes[c] + pw.first, sizeof(float) * pw.count) == 0)
                    sameList[c][w] = v;
        }
    }

    // A pair's key: what its elements are computed from. Pairs with equal
    // keys have equal blocks; the first of them is filled.
    auto value = [&](int c, int w) { return axes[c][PointsOf(t, w).first]; };
    auto axisKey = [&](std::vector<std::uint32_t>& key, int c, int a, int b, float sourceSign) {
        if (constant[c][a] && constant[c][b]) {
            key.insert(key.end(), {1u, Bits(std::fabs(value(c, b) * sourceSign - value(c, a)))});
        } else {
            key.insert(key.end(), {0u, static_cast<std::uint32_t>(sameList[c][a]),
                                   static_cast<std::uint32_t>(sameList[c][b])});
        }
    };
    std::map<std::vector<std::uint32_t>, int> filled;
    for (int a = 1; a <= t.NW; ++a)
        for (int b = 1; b <= t.NW; ++b) {
            if (!free[a] || !free[b]) continue;
            std::vector<std::uint32_t> key = {static_cast<std::uint32_t>(make[a]), static_cast<std::uint32_t>(make[b]),
                                              a == b, WiresTouch(t, a, b)};
            for (int c = 0; c < 3; ++c) axisKey(key, c, a, b, 1.0f);
            if (ground) axisKey(key, 2, a, b, -1.0f);  // the image lies mirrored in z = 0
            const auto [it, isNew] = filled.emplace(std::move(key), Index(a, b));
            if (!isNew) from_[Index(a, b)] = it->second;
        }
}

int RepeatedBlocks::Count() const {
    int n = 0;
    for (const int f : from_) n += f >= 0;
    return n;
}

void RepeatedBlocks::Copy(SolverState& s) const {
    for (int a = 1; a <= nw_; ++a)
        for (int b = 1; b <= nw_; ++b) {
            const int f = from_[Index(a, b)];
            if (f < 0) continue;
            const int a2 = f / (nw_ + 1), b2 = f % (nw_ + 1);
            for (int r = 0; r < count_[a]; ++r) {
                const int row = first_[a] + r, sourceRow = first_[a2] + r;
                std::memcpy(&s.ZR[row][first_[b]], &s.ZR[sourceRow][first_[b2]], sizeof(float) * count_[b]);
                std::memcpy(&s.ZI[row][first_[b]], &s.ZI[sourceRow][first_[b2]], sizeof(float) * count_[b]);
            }
        }
}

}  // namespace qw
