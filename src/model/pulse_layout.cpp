#include "model/pulse_layout.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace qw {

namespace {

constexpr float kCoincidence = 1e-5f;
using Point = std::array<float, 3>;

bool Coincide(const Point& a, const Point& b) {
    return std::fabs(a[0] - b[0]) < kCoincidence && std::fabs(a[1] - b[1]) < kCoincidence &&
           std::fabs(a[2] - b[2]) < kCoincidence;
}

}  // namespace

std::vector<WirePulses> PulseLayout(const Project& p) {
    const int n = p.WireCount;
    std::vector<WirePulses> layout(static_cast<std::size_t>(n) + 1);
    std::vector<std::array<Point, 3>> ends(static_cast<std::size_t>(n) + 1);
    // The first lower-numbered wire with an end at end e of wire w.
    auto search = [&ends](int w, int e) {
        for (int v = 1; v < w; ++v)
            for (const int ve : {e, 3 - e})
                if (Coincide(ends[w][e], ends[v][ve])) return ve == e ? -v : v;
        return 0;
    };
    // Counted in a wider type and held below any overflow: a table that
    // big is refused by whoever builds it.
    long long pulses = 0;
    constexpr long long kCeiling = 1LL << 30;
    for (int w = 1; w <= n; ++w) {
        const Wire& wire = p.Wires[w];
        ends[w][1] = {wire.X1, wire.Y1, wire.Z1 + p.Height};
        ends[w][2] = {wire.X2, wire.Y2, wire.Z2 + p.Height};
        WirePulses& l = layout[w];
        bool search1 = true, search2 = true;
        if (p.Env.GroundPresent == kOverGround) {
            if (std::fabs(ends[w][1][2]) <= kCoincidence) {
                l.joint1 = -w;
                search1 = false;
            } else if (std::fabs(ends[w][2][2]) <= kCoincidence) {
                l.joint2 = -w;
                search2 = false;
            }
        }
        if (search1) l.joint1 = search(w, 1);
        if (search2) l.joint2 = search(w, 2);
        l.joined1 = l.joint1 != 0;
        l.joined2 = l.joint2 != 0;
        l.first = static_cast<int>(pulses + 1);
        pulses += static_cast<long long>(wire.Segments) - 1 + (l.joined1 ? 1 : 0) + (l.joined2 ? 1 : 0);
        if (pulses > kCeiling) pulses = kCeiling;
        if (pulses < -kCeiling) pulses = -kCeiling;
        l.last = static_cast<int>(pulses);
    }
    return layout;
}

int PulseAtJunction(const Project& p, const std::vector<WirePulses>& layout, int w, int k) {
    if (w < 1 || w >= static_cast<int>(layout.size())) return 0;
    const int segments = p.Wires[w].Segments;
    const WirePulses& l = layout[w];
    if (k < 0 || k > segments) return 0;
    if (k == 0 && !l.joined1) return 0;
    if (k == segments && !l.joined2) return 0;
    return l.first + k - (l.joined1 ? 0 : 1);
}

int PulseForSegment(const Project& p, const std::vector<WirePulses>& layout, int w, int s, int* junction) {
    if (w < 1 || w >= static_cast<int>(layout.size())) return 0;
    const int segments = p.Wires[w].Segments;
    if (s < 1 || s > segments) return 0;
    const int lower = PulseAtJunction(p, layout, w, s - 1);
    const int upper = PulseAtJunction(p, layout, w, s);
    int k;
    if (lower == 0 && upper == 0) return 0;
    if (lower == 0) k = s;
    else if (upper == 0) k = s - 1;
    else if (s - 1 == 0) k = 0;              // a joined end 1
    else if (s == segments) k = segments;    // a joined end 2
    else k = std::abs(2 * s - segments) < std::abs(2 * (s - 1) - segments) ? s : s - 1;
    if (junction) *junction = k;
    return PulseAtJunction(p, layout, w, k);
}

}  // namespace qw
