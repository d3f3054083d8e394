#include "plots/polar_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/canvas.h"
#include "platform/numeric_constants.h"

namespace qw {

PolarGeometry PolarGeometryOf(const Canvas& canvas) {
    PolarGeometry g;
    g.cx = static_cast<float>(canvas.Width()) / 2;
    g.cy = static_cast<float>(canvas.Height()) / 2;
    g.R = std::max(std::min(g.cx, g.cy) - 30, 0.0f);
    return g;
}

float PlotRadius(float x, float R, const ProgramOptions& o) {
    if (x >= 0) return R;
    if (x < static_cast<float>(o.MinDb - o.GridStep)) return 0;
    const float down = std::fabs(x);
    if (o.PlotScale != 2) return R * std::pow(0.95f, down);
    if (o.MinDb == 0) return 0;
    return std::max(R * (1 - std::fabs(x / static_cast<float>(o.MinDb))), 0.0f);
}

PixelPoint PolarPoint(const PolarGeometry& g, float r, float displayAngle) {
    const float a = (-90 + displayAngle) * kRad;
    return {std::floor(g.cx + r * std::cos(a)), std::floor(g.cy + r * std::sin(a))};
}

std::optional<std::string> SetPlotGrid(ProgramOptions& options, int gridStep, int downTo) {
    if (gridStep < 1) return "The grid step must be at least 1 dB";
    if (downTo == 0) return "\"Down to\" must not be 0 dB";
    const int down = std::abs(downTo) / gridStep * gridStep;
    if (down == 0) return "\"Down to\" must be at least one grid step below 0 dB";
    options.GridStep = gridStep;
    options.MinDb = -down;
    return std::nullopt;
}

}  // namespace qw
