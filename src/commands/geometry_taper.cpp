#include "commands/geometry_taper.h"

#include <cmath>
#include <utility>

#include "model/units.h"

namespace qw {

namespace {

TaperPlan Refused(const std::string& text) {
    TaperPlan plan;
    plan.error = text;
    plan.errorTitle = "Error in taper";
    return plan;
}

}  // namespace

TaperPlan PlanTaper(const Wire& w, const TaperRequest& request, int unit, float frequency, int otherWires,
                    int otherSegments, ModelLimits limits) {
    double large = request.largeDiameter, small = request.smallDiameter;
    double longSeg = request.largeSegment, shortSeg = request.smallSegment;
    if (small > large) std::swap(small, large);
    if (shortSeg > longSeg) std::swap(shortSeg, longSeg);
    if (!(small > 0) || !std::isfinite(large)) return Refused("The diameters must be greater than 0");
    if (!(shortSeg > 0) || !std::isfinite(longSeg)) return Refused("The smaller segment must be longer than 0");
    if (request.wavelengths && !(frequency > 0))
        return Refused("Segment lengths in wavelengths need the frequency: set it first");

    // Everything in metres from here.
    const double s = request.wavelengths ? shortSeg * 299.8 / frequency
                                         : ToMeters(unit, frequency, static_cast<float>(shortSeg));
    const double dLarge = ToMeters(unit, frequency, static_cast<float>(large));
    const double dSmall = ToMeters(unit, frequency, static_cast<float>(small));
    if (!(s > 0) || !(dSmall > 0)) return Refused("The smaller segment must be longer than 0");
    const double ratio = longSeg / shortSeg;
    int n = 5;
    for (int k = 1; k <= 4; ++k)
        if (std::ldexp(1.0, k) <= ratio && ratio < std::ldexp(1.0, k + 1)) {
            n = k;
            break;
        }

    const double p1[3] = {w.X1, w.Y1, w.Z1};
    const double p2[3] = {w.X2, w.Y2, w.Z2};
    const double d[3] = {p2[0] - p1[0], p2[1] - p1[1], p2[2] - p1[2]};
    const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    const bool end1 = request.ends != TaperEnds::End2;
    const bool end2 = request.ends != TaperEnds::End1;
    const double perEnd = s * (std::ldexp(1.0, n) - 1);
    const double rest = length - perEnd * ((end1 ? 1 : 0) + (end2 ? 1 : 0));
    if (!(length > 0) || rest <= 0) return Refused("Error. Taper to drastic");

    int middleSegments = static_cast<int>(rest / (std::ldexp(1.0, n) * s));
    if (middleSegments % 2 != 0) ++middleSegments;
    if (middleSegments < 2) middleSegments = 2;

    const int chainWires = n * ((end1 ? 1 : 0) + (end2 ? 1 : 0)) + 1;
    if (otherWires + chainWires > limits.wires) return Refused("Too many wires! Reduce number of wires.");
    if (otherSegments + chainWires - 1 + middleSegments > limits.pulses)
        return Refused("Too many pulses! Reduce number of segments.");

    TaperPlan plan;
    plan.steps = n;
    const double u[3] = {d[0] / length, d[1] / length, d[2] / length};
    double at[3] = {p1[0], p1[1], p1[2]};
    auto add = [&](double len, double diameter, int segments) {
        Wire piece;
        piece.X1 = static_cast<float>(at[0]);
        piece.Y1 = static_cast<float>(at[1]);
        piece.Z1 = static_cast<float>(at[2]);
        for (int i = 0; i < 3; ++i) at[i] += len * u[i];
        piece.X2 = static_cast<float>(at[0]);
        piece.Y2 = static_cast<float>(at[1]);
        piece.Z2 = static_cast<float>(at[2]);
        piece.Radius = static_cast<float>(diameter / 2);
        piece.Segments = segments;
        plan.chain.push_back(piece);
    };
    const double step = (dLarge - dSmall) / n;
    auto diameter = [&](int k) { return dSmall + (k - 1) * step; };
    if (end1)
        for (int k = 1; k <= n; ++k) add(std::ldexp(s, k - 1), diameter(k), 1);
    add(rest, dLarge, middleSegments);
    if (end2)
        for (int k = n; k >= 1; --k) add(std::ldexp(s, k - 1), diameter(k), 1);
    // The chain ends exactly where the wire ended, so whatever met it there
    // still does.
    Wire& last = plan.chain.back();
    last.X2 = w.X2;
    last.Y2 = w.Y2;
    last.Z2 = w.Z2;
    return plan;
}

}  // namespace qw
