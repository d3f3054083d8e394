// The wire list as the geometry editor prints it.
#pragma once

#include <string>
#include <vector>

#include "commands/geometry_table.h"

namespace qw {

// The header "Geometry File : <file>  Units : <unit>, Height = <height>",
// an empty line, the column titles, then one line per wire: the wire
// number and the table's cells (Src/Ld last) in columns of fixed width.
std::vector<std::string> GeometryPrintLines(const GeometryTable& table);

inline constexpr const char* kTextTooLargeForPage = "Text is too large for the page, change orientation or font";

}  // namespace qw
