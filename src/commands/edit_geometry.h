// The main window's way into the geometry editor: Antenna Setup >
// Geometry, the grid button, and New Project.
#pragma once

#include <functional>

#include "model/context.h"

namespace qw {

// Runs the editor (`edit` shows it modally and returns false when it was
// cancelled); when it was accepted with wires, the pulses are built, then
// the sources are prepared (or "No Sources defined" is told), the loads
// prepared, and the solution must be computed again.
void EditGeometry(Context& ctx, const std::function<bool()>& edit);

// Geometry: a project is read first when no geometry is defined (a
// cancelled or failed read ends the command), then EditGeometry.
void GeometryCommand(Context& ctx, const std::function<bool()>& edit);

}  // namespace qw
