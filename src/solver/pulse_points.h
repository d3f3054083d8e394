// Where the pulses are: the centre point of every pulse of the pulse table,
// for the views that mark pulses, sources and loads on the wires.
#pragma once

#include <vector>

#include "model/context.h"

namespace qw {

struct PulsePoint {
    int wire = 0;               // the wire the pulse belongs to
    float x = 0, y = 0, z = 0;  // metres; z is the wire's own, without the antenna height
};

// Entry i is pulse i (entry 0 unused). Empty when the pulse table does not
// stand for the document's geometry as it is now (never built, or built
// before the last edit): a view then shows the wires without pulse marks.
std::vector<PulsePoint> PulsePoints(const Context& ctx);

}  // namespace qw
