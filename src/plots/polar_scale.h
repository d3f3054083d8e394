// The polar plot's geometry: where a value of a cut lands on the picture.
#pragma once

#include <optional>
#include <string>

#include "model/context.h"

namespace qw {

class Canvas;

// Centre and outer radius in pixels: the centre is half the picture's width
// and height, the outer radius the smaller half less 30.
struct PolarGeometry {
    float cx = 0, cy = 0, R = 0;
};
PolarGeometry PolarGeometryOf(const Canvas& canvas);

// The radius of a value x dB relative to the maximum (x <= 0): R at 0 (and
// above), the centre below MinDb - GridStep, otherwise R 0.95^|x| on the
// logarithmic scale and R (1 - |x / MinDb|) on the linear one, where values
// below MinDb also go to the centre rather than to a negative radius.
float PlotRadius(float x, float R, const ProgramOptions& options);

struct PixelPoint {
    float x = 0, y = 0;
    bool operator==(const PixelPoint&) const = default;
};
// The point at radius r and display angle p degrees (0 at the top, growing
// clockwise), both coordinates rounded down to whole pixels.
PixelPoint PolarPoint(const PolarGeometry& g, float r, float displayAngle);

// The grid entries of the plot options: the ring step ("Every", dB) and
// the innermost ring ("Down to", dB, entered with or without its minus
// sign). The ring level becomes the entry rounded toward zero to a
// multiple of the step, made negative (step 10, entry 35: -30). A step
// below 1, an entry of 0 and an entry smaller than one step are refused
// with the reason; the options are left as they were.
std::optional<std::string> SetPlotGrid(ProgramOptions& options, int gridStep, int downTo);

}  // namespace qw
