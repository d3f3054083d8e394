// Opening a project: the file read, the solver's tables built from it, and
// what the main window's commands show of it. The reader only reads; this
// is where a read project becomes one that can be computed.
#pragma once

#include "model/context.h"

namespace qw {

// Reads the project (the pending file, else the open dialog's choice) and,
// unless the read aborted, builds the pulses and prepares the sources and
// loads; then shows what was read. AbortFlag when the read or the pulses
// failed (the user has been told).
void OpenProjectFile(Context& ctx);

// After a project was read: the frequency constants, the pulses (a failure
// is shown and sets AbortFlag), then the sources (or "No Sources defined")
// and, with withLoads, the loads. A HEIGHT card read from the file leaves
// the height to be applied once more by the checks before the first
// computation, which build (and list) the pulses again.
void PrepareReadProject(Context& ctx, bool withLoads);

// After a project file was read (whether or not the read completed): the
// Sources and Loads commands are enabled when wires were read, the
// optimizer once a project is open, and the free-space command's caption
// says " Free Space " or " Ground Plane " as the file said.
void ShowReadProject(Context& ctx);

// A new, empty project: the Sources and Loads commands are disabled.
void ShowNewProject(Context& ctx);

}  // namespace qw
