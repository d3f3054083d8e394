// The lines a field or current report writes to the log, sent along one
// path: to the log while it is open, and to an echo when there is one (the
// command-line program prints them, so that it shows exactly what the log
// gets even when no log is written).
#pragma once

#include <functional>
#include <string>

#include "model/context.h"
#include "model/print_layout.h"

namespace qw {

// Receives every report line as written to the log (Windows-1252 text,
// without its line end).
using LineEcho = std::function<void(const std::string& line)>;

class ReportLines {
public:
    ReportLines(Context& ctx, LineEcho echo) : ctx_(ctx), echo_(std::move(echo)) {}

    void Write(const std::string& line);
    // Every line of a print-layout line.
    void Write(const PrintLine& line);

private:
    Context& ctx_;
    LineEcho echo_;
};

}  // namespace qw
