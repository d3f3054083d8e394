// Writing a file so that a failure never destroys the previous one.
#pragma once

#include <string>

namespace qw {

// Writes text to a temporary file beside path, then renames it over path.
// Returns "" on success, else the reason; on failure the old file is left
// as it was and the temporary file is removed. A link is followed; a device
// or a pipe is written in place.
std::string WriteFileReplacing(const std::string& path, const std::string& text);

}  // namespace qw
