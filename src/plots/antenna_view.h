// The 2D views of the antenna: the wires seen along one axis (XY, YZ or XZ
// plane) with their pulses, pulse numbers, lengths, sources and loads,
// drawn onto a Canvas, and the texts that go with them (window caption,
// unit button, the read-out of a clicked point).
//
// User coordinates are millimetres of the project (metres x 1000) with the
// vertical axis pointing up; the Z of a wire is its own, without the
// antenna height.
#pragma once

#include <string>
#include <vector>

#include "model/program_options.h"
#include "model/project.h"
#include "model/units.h"
#include "platform/canvas.h"
#include "solver/pulse_points.h"

namespace qw {

enum ViewPlane : int { kPlaneXY = 0, kPlaneYZ = 1, kPlaneXZ = 2 };

// The per-window state of a 2D view.
struct AntennaViewState {
    int plane = kPlaneXY;
    bool pulses = false;        // pulse marks shown
    bool pulseNumbers = false;  // their numbers shown (only with the marks)
    int pulseNumberColour = 0;  // palette index; the other colours are the program's
};

// The rectangle of user coordinates the picture shows, and the marker unit.
struct ViewFrame {
    float left = 0, top = 0, right = 0, bottom = 0;  // top > bottom: y grows upward
    float unit = 0;                                  // marker size unit, mm
};

// The plane after this one: XY -> YZ -> XZ -> XY.
int NextPlane(int plane);
// "Antenna View XY Plane ", "Antenna View YZ Plane ", "Antenna View XZ Plane ".
std::string ViewCaption(int plane);

// The unit the view shows lengths in: the project's, or metres when the
// project is in wavelengths without a positive frequency.
int ShownUnit(const Project& project);

// A wire length (metres) as its label shows it in the shown unit: metres
// "###0.00", feet "####0.00", inches "####0", cm "####0.0", mm "#####0",
// wavelengths "##0.000".
std::string LengthLabel(const Project& project, double meters);

// The bounding box of the wires in the plane fitted into a picture of
// width x height pixels with its aspect ratio kept; each displayed extent
// is at least 10 mm, the shorter one centred, with a quarter of the fitted
// extent (at least 1 mm) as margin on each side.
ViewFrame FitView(const Project& project, int plane, int width, int height);

// The read-out of the point under pixel (px, py) of a picture of width x
// height pixels drawn with `frame`, in the shown unit ("Fixed"; inches
// "####0"): "X = x, Y = y" (XY), "Y = y, Z = z" (YZ), "X = x, Z = z" (XZ).
std::string PointText(const Project& project, int plane, const ViewFrame& frame, int width, int height, double px,
                      double py);

// Advances the colour of a view key ("B" background, "F" foreground, "W"
// wires, "S" sources, "L" loads, "P" pulses, "N" pulse numbers) by one,
// modulo 16. False for any other key.
bool AdvanceViewColour(char key, ProgramOptions::ViewColours& colours, AntennaViewState& state);

// Draws the view: cleared to the background, the file name and the unit at
// the top left, the dashed axes through the origin with their captions,
// the wires, then wire by wire its pulses (with numbers), its length (when
// numbers are off), its sources and its loads. `pulses` is PulsePoints of
// the project (empty: no pulse, source or load marks). Returns the frame
// drawn with, for the read-outs.
ViewFrame DrawAntennaView(Canvas& canvas, const Project& project, const std::vector<PulsePoint>& pulses,
                          const AntennaViewState& state, const ProgramOptions::ViewColours& colours);

}  // namespace qw
