#include "plots/polar_plot.h"

#include <cmath>
#include <string>

namespace qw {

void DrawPolarGrid(Canvas& canvas, const PolarGeometry& g, const ProgramOptions& o, bool overlay) {
    canvas.ResetScale();
    if (!overlay) canvas.Clear();
    canvas.SetForeColour(kPlotForeground);
    canvas.SetPenWidth(1);
    canvas.SetLineStyle(LineStyle::Solid);
    canvas.SetBold(false);
    canvas.Circle(g.cx, g.cy, g.R);
    const int step = o.GridStep >= 1 ? o.GridStep : 1;
    const float labelHeight = canvas.TextHeight();
    for (int level = 0; level >= o.MinDb; level -= step) {
        const float r = PlotRadius(static_cast<float>(level), g.R, o);
        canvas.Circle(g.cx, g.cy, r);
        if (level != 0) canvas.PrintAt(g.cx + 2, g.cy - r - labelHeight, std::to_string(level));
    }
    const float r3 = PlotRadius(-3, g.R, o);
    canvas.SetLineStyle(LineStyle::Dotted);
    canvas.Circle(g.cx, g.cy, r3);
    canvas.SetLineStyle(LineStyle::Solid);
    canvas.PrintAt(g.cx + 2, g.cy - r3 - labelHeight, "-3");
    for (int a = 0; a < 360; a += 15) {
        const float inner = a % 90 == 0 ? 0.0f : static_cast<float>(step);
        const PixelPoint from = PolarPoint(g, inner, static_cast<float>(a));
        const PixelPoint to = PolarPoint(g, g.R, static_cast<float>(a));
        canvas.Line(from.x, from.y, to.x, to.y);
        if (a % 30 != 0) continue;
        const std::string label = std::to_string(a);
        const PixelPoint at = PolarPoint(g, g.R + 14, static_cast<float>(a));
        canvas.PrintAt(at.x - canvas.TextWidth(label) / 2, at.y - labelHeight / 2, label);
    }
}

void DrawCurve(Canvas& canvas, const PolarGeometry& g, const ProgramOptions& o, const std::vector<CurvePoint>& points,
               float reference, Rgb colour, bool markers3dB) {
    canvas.SetPenWidth(1);
    canvas.SetLineStyle(LineStyle::Solid);
    bool above = false, below = false;
    PixelPoint previous;
    bool first = true;
    for (const CurvePoint& p : points) {
        const float d = p.value - reference;
        const PixelPoint at = PolarPoint(g, PlotRadius(d, g.R, o), p.angle);
        if (!first && !(at == previous)) {
            canvas.SetForeColour(colour);
            canvas.Line(previous.x, previous.y, at.x, at.y);
        }
        first = false;
        previous = at;
        if (!markers3dB) continue;
        bool mark = false;
        if (d <= -3) {
            if (above) mark = true;
            above = false;
        } else {
            above = true;
        }
        if (d >= -3) {
            if (below) mark = true;
            below = false;
        } else {
            below = true;
        }
        if (mark && o.Marker3dB) {
            canvas.SetForeColour(kRed);
            canvas.Line(g.cx, g.cy, at.x, at.y);
        }
    }
    canvas.SetForeColour(kPlotForeground);
}

std::vector<CurvePoint> CutCurve(const PatternCut& cut) {
    std::vector<CurvePoint> points;
    const int step = cut.step >= 1 ? cut.step : 1;
    for (int q = 0; q <= cut.span && q <= 360; q += step)
        points.push_back({static_cast<float>(cut.DisplayAngle(q)), cut.values[static_cast<std::size_t>(q)]});
    return points;
}

}  // namespace qw
