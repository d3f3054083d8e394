// The gain unit in force: dBi, or dBd (dBi - 2.15) for the single-direction
// gains of the pattern window, the sweeps and the optimizer. The far-field
// table is always in dBi.
#pragma once

#include "model/context.h"

namespace qw {

// The main window's command "CtdB": switches between dBi and dBd and shows
// the unit now in force as the command's caption ("dBi" or "dBd").
void ToggleGainUnit(Context& ctx);

}  // namespace qw
