// Where the pulses of a project lie, worked out from its wires alone:
// which wire ends are joined (to a lower-numbered wire or to the ground)
// and the number of every wire's first pulse. The solver builds its pulse
// table on this layout, and the readers use it to put a source or load
// given by wire and segment on a pulse before any pulse table is built.
//
// The rules: wire w's ends, with the height added, are looked at in turn.
// Over ground, end 1 on the ground (|z| <= 1e-5 m) joins the ground, or
// else end 2 does; at most one end of a wire joins the ground. Every other
// end is joined to the first lower-numbered wire v with an end at the same
// place (each coordinate within 1e-5 m), v's same end tried before its
// other end. A wire has Segments - 1 pulses of its own and one more for
// each joined end; pulses are numbered wire after wire.
#pragma once

#include <vector>

#include "model/project.h"

namespace qw {

struct WirePulses {
    int first = 0;  // number of the wire's first pulse
    int last = -1;  // its last pulse; last < first when it has none
    bool joined1 = false, joined2 = false;  // end joined to a wire or the ground
    // How each end is joined: 0 free, -w (the wire's own number) to the
    // ground, -v to the same end of wire v, +v to the other end of wire v.
    int joint1 = 0, joint2 = 0;
};

// Entries 1..WireCount (entry 0 unused).
std::vector<WirePulses> PulseLayout(const Project& p);

// The pulse of wire w (1-based) at the junction `k` segments from end 1
// (0 and Segments are the ends); 0 when no pulse lies there.
int PulseAtJunction(const Project& p, const std::vector<WirePulses>& layout, int w, int k);

// The pulse that best stands for the centre of segment s (1-based) of wire
// w: of the two junctions that bound the segment, the one carrying a pulse;
// when both do, a joined wire end, else the one nearer the middle of the
// wire, else the one towards end 1. 0 when neither has a pulse.
int PulseForSegment(const Project& p, const std::vector<WirePulses>& layout, int w, int s, int* junction = nullptr);

}  // namespace qw
