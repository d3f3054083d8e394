// The 3D view's picture drawn on a Canvas: axes, wires, pulse marks and
// numbers, sources and loads, the current along each wire and the 3D
// pattern as a mesh, ordered by depth so that near lines cover far ones,
// with the captions, the colour scale and the wire information.
#pragma once

#include <string>
#include <vector>

#include "model/program_options.h"
#include "platform/canvas.h"
#include "plots/pattern3d.h"
#include "plots/view3d_projection.h"
#include "plots/view3d_scene.h"

namespace qw {

struct View3DInput {
    const Scene3D* scene = nullptr;
    const WireCurrentRows* currents = nullptr;  // drawn when the view shows currents
    const Pattern3DGrid* pattern = nullptr;     // drawn when the view shows the pattern
    ProgramOptions::ViewColours colours;
    int plotScale = 1;   // the pattern's radius: 1 logarithmic, 2 linear (field strength)
    int minDb = -50;     // logarithmic radius: the centre stands for this many dB below the maximum
    std::vector<std::string> wireInfo;  // drawn when the view shows the wire information
};

// A colour of the scale blue, cyan, green, yellow, red for t in 0..1.
Rgb ScaleColour(float t);

// The points of a wire's current curve (metres): the first row at end 1,
// each next row one step further, the last on end 2, each displaced across
// the wire by its magnitude times `scale` (times the sine of its phase with
// `marker`). A wire with one row has one point, at end 1.
std::vector<Point3> CurrentCurve(const std::array<Point3, 2>& wire, const std::vector<CurrentRow>& rows, float scale,
                                 bool marker);

// The radius of a pattern point relative to the largest one (0..1).
float PatternRadius(float gain, float maximum, int plotScale, int minDb);

// Draws the whole picture; the projection's origin is the picture's centre.
void DrawView3D(Canvas& canvas, const View3DState& view, const View3DInput& input);

}  // namespace qw
