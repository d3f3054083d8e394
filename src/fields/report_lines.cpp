#include "fields/report_lines.h"

namespace qw {

void ReportLines::Write(const std::string& line) {
    ctx_.log.Write(line);  // nothing while logging is off
    if (echo_) echo_(line);
}

void ReportLines::Write(const PrintLine& line) {
    for (const auto& l : line.Lines()) Write(l);
}

}  // namespace qw
