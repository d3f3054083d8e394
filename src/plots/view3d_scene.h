// What the 3D view draws, gathered from the project and the solver's
// results: the wires' ends, the pulse positions, the sources' and loads'
// pulses, and the currents report's rows wire by wire.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "fields/currents.h"
#include "model/context.h"
#include "platform/outcome.h"
#include "plots/view3d_projection.h"

namespace qw {

using Point3 = std::array<float, 3>;

struct Scene3D {
    std::vector<std::array<Point3, 2>> wires;  // wire w at w - 1: end 1, end 2 (metres, height included)
    std::vector<Point3> pulses;                // pulse i at i - 1: its centre
    std::vector<int> sourcePulses;             // the pulse of each source
    std::vector<int> loadPulses;               // the pulse of each load
    AntennaExtent extent;                      // of the wire ends
};

// The scene of the project: from the pulse table when it stands for the
// geometry (then with the pulses), else from the wires as entered with the
// height added (without pulses).
Scene3D SceneOf(const Context& ctx);

// The currents report's rows of each wire (wire w at w - 1), in order.
using WireCurrentRows = std::vector<std::vector<CurrentRow>>;

// Runs the currents report (solving first when the solution does not
// stand; its data file at dataFilePath, "" for none) and keeps its rows.
Result GatherCurrentRows(Context& ctx, const std::string& dataFilePath, WireCurrentRows& rows);

// The largest current magnitude of the rows (0 when there are none).
float LargestCurrent(const WireCurrentRows& rows);

// A current scale that displaces the largest current by a quarter of the
// antenna's size (or of a metre for an antenna without extent).
float FittedCurrentScale(const AntennaExtent& extent, const WireCurrentRows& rows);

// The wire information: the hint, then the data of wire `wire` (1-based)
// in the project's unit; one text per line.
std::vector<std::string> WireInfoLines(const Project& project, int wire);

}  // namespace qw
