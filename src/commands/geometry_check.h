// The checks of a geometry before it is accepted, shown, or built into
// pulses: the wires' shapes and places, and the table's limits.
#pragma once

#include "model/context.h"

namespace qw {

enum class GeometryCheck {
    Passed,
    EmptyAccepted,  // no wires, and the user chose to leave anyway
    Failed,
};

// No wires: "No wires defined. Do you want to exit anyway?" (Yes/No; only
// Yes accepts). Then, stopping at the first fault with its message (title
// "Check your geometry"): a wire whose ends are equal is "zero length";
// over ground, with the height added to every z, a wire with an end below
// z = 0 is "below ground" and one with both ends on it "on the ground";
// two wires with the same ends in the same order are "identical".
// *faultRow (when given) receives the wire of a ground fault.
GeometryCheck CheckGeometry(Context& ctx, int* faultRow = nullptr);

// True when the table exceeds a limit: more than 300 segments in all
// ("Too many pulses! Reduce number of segments.") or more than 50 wires
// ("Too many wires! Reduce number of wires."), both titled "ABORT !".
// Sets AbortFlag then.
bool CheckPulseWireMax(Context& ctx);

}  // namespace qw
