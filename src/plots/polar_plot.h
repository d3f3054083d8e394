// Drawing the polar plot: the grid and the curves of cuts, onto a Canvas.
#pragma once

#include <vector>

#include "model/context.h"
#include "platform/canvas.h"
#include "plots/pattern_cut.h"
#include "plots/polar_scale.h"

namespace qw {

inline constexpr Rgb kPlotForeground = kBlack;

// Works in pixels (the scale is reset). Clears the picture unless
// overlaying, then draws the outer circle, a ring
// (labelled with its level, except 0) for 0, -GridStep, ... down to MinDb,
// the dotted -3 dB ring, and spokes every 15 degrees (those at multiples of
// 90 from the centre, the others from GridStep pixels out) with the display
// angle written outside the circle every 30 degrees.
void DrawPolarGrid(Canvas& canvas, const PolarGeometry& g, const ProgramOptions& options, bool overlay);

// One value of a curve: display angle (degrees) and level (dB).
struct CurvePoint {
    float angle = 0;
    float value = 0;
};

// Draws the curve relative to `reference` (the 0 dB level): each point
// joined to the previous one unless both fall on the same pixel. With
// `markers3dB` the red -3 dB radius lines are drawn where the curve crosses
// -3 dB (when options.Marker3dB is on).
void DrawCurve(Canvas& canvas, const PolarGeometry& g, const ProgramOptions& options,
               const std::vector<CurvePoint>& points, float reference, Rgb colour, bool markers3dB);

// The plotted positions of a cut as curve points.
std::vector<CurvePoint> CutCurve(const PatternCut& cut);

}  // namespace qw
