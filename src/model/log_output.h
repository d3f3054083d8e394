// What a computation does with the session's log besides writing lines:
// puts them on disk at the end of a report, and knows the log's folder.
#pragma once

#include <optional>
#include <string>

#include "model/session.h"
#include "platform/host.h"

namespace qw {

// Puts what was written on disk (the log is closed and opened again for
// appending). When a line did not reach the file or it cannot be opened
// again logging is off, and the message that says so is returned for the command to show.
std::optional<Message> FlushLog(Session& session);

// The folder of the open log, else the log folder of the file locations.
std::string LogFolder(const Session& session);

}  // namespace qw
