// Wires to pulses: the pulse table of the open project.
//
// Each wire is cut into equal segments; an unknown current (a pulse) sits
// at every junction of two adjacent segments, on a wire and across the
// joint where two wires meet or where a wire meets the ground.
#pragma once

#include "model/context.h"
#include "model/pulse_layout.h"
#include "platform/outcome.h"
#include "solver/solver_state.h"

namespace qw {

// Rebuilds the whole pulse table from the project and stores the pulse
// count in the project. A failure (no wires, a wire the solver cannot take,
// too many pulses) is returned with its message and the table must not be
// solved. Writes the geometry and connection listings when logging.
Result BuildPulseTable(Context& ctx);

// The two per-wire steps, run for w = 1..NW in order on the wire's entry
// of the project's PulseLayout: its joints and its pulse numbers.
void ConnectWireEnds(Context& ctx, int w, const WirePulses& layout);
Result DirCosine(Context& ctx, int w, const WirePulses& layout);

// For each wire end: -1 on the plane z = 0, 0 free, else a wire touching it.
void BuildWireEndTable(Context& ctx);

// Writes the connection listing and gives the free ends their own wire.
void ListConnections(Context& ctx);

// Recomputes the solver's radii from the wires and the NEC-mode switch.
void RescaleRadii(Context& ctx);

// Two points coincide when each coordinate differs by less than 1e-5 m.
bool PointsCoincide(const std::array<float, 3>& a, const std::array<float, 3>& b);
// An end lies on the ground when |z| (with the height) is at most 1e-5 m.
bool OnGround(const std::array<float, 3>& end);

}  // namespace qw
