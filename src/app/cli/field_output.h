// What the field and current commands share: the log lines on standard
// output, numbers for CSV rows, and lists of numbers in options.
#pragma once

#include <string>
#include <vector>

#include "app/cli/cli.h"
#include "fields/report_lines.h"

namespace qw::cli {

// Prints every report line on the session's standard output, in UTF-8.
LineEcho PrintedLines(Run& run);

// A number of a CSV row: "0.5", "-0.25", "1E-05".
std::string CsvNumber(float value);

// Exactly `count` comma-separated numbers ("1,-2.5,0"); false when a field
// is not a number or the count differs.
bool NumberList(const std::string& text, std::size_t count, std::vector<double>& values);

}  // namespace qw::cli
