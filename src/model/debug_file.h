// The debug file: while debugging is on, the steps of a computation and the
// reader's parse failures are written to it, one line each, CR LF ended,
// each on disk at once.
#pragma once

#include "model/line_file.h"

namespace qw {

class DebugFile : public LineFile {
public:
    DebugFile() : LineFile(true) {}
};

}  // namespace qw
