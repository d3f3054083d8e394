#include "solver/pulse_points.h"

#include "solver/solver.h"

namespace qw {

std::vector<PulsePoint> PulsePoints(const Context& ctx) {
    if (!PulsesCurrent(ctx)) return {};
    const PulseTable& t = ctx.solver->pulses;
    if (t.N < 1 || t.N > kPulseCapacity) return {};
    // The table was built with the height added to every z.
    const float height = ctx.project.Height;
    std::vector<PulsePoint> points(static_cast<std::size_t>(t.N) + 1);
    for (int i = 1; i <= t.N; ++i) {
        const int c = t.Centre(i);
        if (c < 1 || c > kMaxBreakPoints) return {};
        points[static_cast<std::size_t>(i)] = {t.W[i], t.X[c], t.Y[c], t.Z[c] - height};
    }
    return points;
}

}  // namespace qw
