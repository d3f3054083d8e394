#include "plots/optimizer_chart.h"

#include <algorithm>

#include "model/format_mask.h"

namespace qw {

void DrawOptimizerChart(Canvas& c, const std::vector<OptimizerChartPoint>& points,
                        const std::string& objectiveName, const std::string& secondaryName) {
    c.ResetScale();
    c.SetBackColour(kWhite);
    c.Clear();
    const float w = static_cast<float>(c.Width()), h = static_cast<float>(c.Height());
    const float th = c.TextHeight();
    // The plot area in pixels: room for the value labels at the left and
    // for the legend and the step labels above and below.
    // Value labels short enough for the margin: two decimals.
    auto label = [](float v) { return Format(v, "0.00"); };
    float labelWidth = c.TextWidth("-00.00");
    for (const auto& p : points)
        for (float v : {p.objective, p.secondary})
            if (std::isfinite(v)) labelWidth = std::max(labelWidth, c.TextWidth(label(v)));
    const float left = std::min(labelWidth + 8, w / 3), right = w - 8, top = th + 6, bottom = h - th - 6;
    c.SetForeColour(PaletteColour(8));
    c.SetPenWidth(1);
    c.SetLineStyle(LineStyle::Solid);
    c.Line(left, top, left, bottom);
    c.Line(left, bottom, right, bottom);
    if (points.empty() || right <= left || bottom <= top) {
        c.SetForeColour(kBlack);
        c.PrintAt(left + 4, top + 4, "No steps yet");
        return;
    }
    float lo = points.front().objective, hi = lo;
    bool anySecondary = false;
    for (const auto& p : points) {
        if (std::isfinite(p.objective)) {
            lo = std::min(lo, p.objective);
            hi = std::max(hi, p.objective);
        }
        if (std::isfinite(p.secondary)) {
            anySecondary = true;
            lo = std::min(lo, p.secondary);
            hi = std::max(hi, p.secondary);
        }
    }
    if (!std::isfinite(lo) || !std::isfinite(hi)) lo = hi = 0;
    if (hi - lo < 1e-6f) {
        lo -= 1;
        hi += 1;
    }
    const int first = points.front().step, last = std::max(points.back().step, first + 1);
    auto px = [&](int step) { return left + (right - left) * static_cast<float>(step - first) / (last - first); };
    auto py = [&](float v) { return bottom - (bottom - top) * (v - lo) / (hi - lo); };

    // Value labels and the zero line when it is inside.
    c.SetForeColour(kBlack);
    c.PrintAt(left - 4 - c.TextWidth(label(hi)), top - th / 2, label(hi));
    c.PrintAt(left - 4 - c.TextWidth(label(lo)), bottom - th / 2, label(lo));
    if (lo < 0 && hi > 0) {
        c.SetForeColour(PaletteColour(7));
        c.SetLineStyle(LineStyle::Dotted);
        c.Line(left, py(0), right, py(0));
        c.SetLineStyle(LineStyle::Solid);
    }
    c.SetForeColour(kBlack);
    c.PrintAt(left, bottom + 3, std::to_string(first));
    const std::string lastText = std::to_string(points.back().step);
    c.PrintAt(right - c.TextWidth(lastText), bottom + 3, lastText);
    const std::string axis = "step";
    c.PrintAt((left + right - c.TextWidth(axis)) / 2, bottom + 3, axis);

    auto curve = [&](bool secondary) {
        bool started = false;
        float x0 = 0, y0 = 0;
        for (const auto& p : points) {
            const float v = secondary ? p.secondary : p.objective;
            if (!std::isfinite(v)) {
                started = false;
                continue;
            }
            const float x = px(p.step), y = py(v);
            if (started) c.Line(x0, y0, x, y);
            x0 = x;
            y0 = y;
            started = true;
        }
    };
    if (anySecondary) {
        c.SetForeColour(kRed);
        c.SetLineStyle(LineStyle::Dotted);
        curve(true);
        c.SetLineStyle(LineStyle::Solid);
    }
    c.SetForeColour(kBlue);
    curve(false);
    if (points.size() <= 60) {
        c.SetPenWidth(3);
        for (const auto& p : points)
            if (std::isfinite(p.objective)) c.Point(px(p.step), py(p.objective));
        c.SetPenWidth(1);
    }

    // The legend above the plot.
    c.SetForeColour(kBlue);
    c.PrintAt(left, 2, objectiveName);
    if (anySecondary && !secondaryName.empty()) {
        c.SetForeColour(kRed);
        c.PrintAt(left + c.TextWidth(objectiveName + "    "), 2, secondaryName);
    }
}

}  // namespace qw
