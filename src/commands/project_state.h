// What the main window's commands show of the project after it was read or
// made new. The reader only reads; these bring the commands up to date.
#pragma once

#include "model/context.h"

namespace qw {

// After a project file was read (whether or not the read completed): the
// Sources and Loads commands are enabled when wires were read, the
// optimizer once a project is open, and the free-space command's caption
// says " Free Space " or " Ground Plane " as the file said.
void ShowReadProject(Context& ctx);

// A new, empty project: the Sources and Loads commands are disabled.
void ShowNewProject(Context& ctx);

}  // namespace qw
