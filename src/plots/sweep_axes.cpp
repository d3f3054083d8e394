#include "plots/sweep_axes.h"

#include <cmath>
#include <vector>

#include "model/format_mask.h"

namespace qw {

int TickStep(float range) {
    if (range >= 1000) return 500;
    if (range >= 500) return 100;
    if (range >= 100) return 50;
    if (range >= 50) return 10;
    if (range >= 25) return 5;
    return 1;
}

float MinorTickStep(float range) {
    const int major = TickStep(range);
    if (range <= 5) return static_cast<float>(major) / 10.0f;
    return static_cast<float>(TickStep(static_cast<float>(major)));
}

std::string AxisNumber(float value) {
    if (std::fabs(value) < 5e-4f) return "0";
    if (std::fabs(value - std::round(value)) < 5e-4f) return Format(std::round(value), "0");
    return Format(value, "#0.0##");
}

std::vector<AxisTick> AxisTicks(float low, float high, const std::string& mask, bool roundLabels) {
    std::vector<AxisTick> ticks;
    const float range = high - low;
    if (!(range >= 0) || !std::isfinite(range)) return ticks;
    const float major = static_cast<float>(TickStep(range));
    const float minor = MinorTickStep(range);
    const bool labelMinors = range > 0 && range / minor < 10;
    const float end = high + minor * 1e-3f;  // a tick on the end counts despite rounding
    auto label = [&](float v) {
        if (roundLabels) v = std::floor(v / minor + 1e-3f) * minor;
        return mask.empty() ? AxisNumber(v) : Format(v, mask);
    };
    float t = low;
    // Bounded: a range of 1000 or more has at most a few dozen ticks.
    for (int n = 0; t <= end && n < 2000; ++n) {
        ticks.push_back({t, true, label(t)});
        float next = std::fabs(t) < major ? 0.0f : t;
        next += major;
        // The minor ticks up to the next major one, counted from this tick
        // so that rounding does not pile up.
        for (int k = 1; k < 1000; ++k) {
            const float m = t + static_cast<float>(k) * minor;
            if (m >= next - minor * 1e-3f || m > end) break;
            ticks.push_back({m, false, labelMinors ? label(m) : std::string()});
        }
        if (!(next > t)) break;
        t = next;
    }
    return ticks;
}

void DrawFrequencyAxis(Canvas& canvas, float low, float high, float y, float halfTick, const std::string& mask) {
    canvas.Line(low, y, high, y);
    for (const AxisTick& t : AxisTicks(low, high, mask, false)) {
        if (t.major)
            canvas.Line(t.at, y - halfTick, t.at, y + halfTick);
        else
            canvas.Point(t.at, y);
        if (!t.label.empty()) canvas.PrintAt(t.at - canvas.TextWidth(t.label) / 2, y - halfTick, t.label);
    }
}

void DrawValueAxis(Canvas& canvas, float low, float high, float x, float halfTick) {
    canvas.Line(x, low, x, high);
    for (const AxisTick& t : AxisTicks(low, high, "", true)) {
        if (t.major)
            canvas.Line(x - halfTick, t.at, x + halfTick, t.at);
        else
            canvas.Point(x, t.at);
        if (t.label.empty()) continue;
        const std::string text = t.label + " ";
        canvas.PrintAt(x - halfTick - canvas.TextWidth(text), t.at + canvas.TextHeight() / 2, text);
    }
}

}  // namespace qw
