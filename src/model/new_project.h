// Resetting the open project to the defaults of a new project.
#pragma once

#include "model/context.h"

namespace qw {

// Counts to 0, every source back to pulse 0, 100 V, 0 degrees; height 0;
// over perfect ground, no radials, circular boundary, ground medium 1 with
// its extent; every "defined" flag False; the frequency in force kept, or
// the default frequency when it is 0; no file name and no project text.
// The unit, the feed-line impedance and the number format are kept.
void NewProject(Context& ctx);

}  // namespace qw
