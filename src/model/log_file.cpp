#include "model/log_file.h"

#include "version.h"

namespace qw {

std::string LogHeaderLine() {
    return std::string("QUILLWORK ") + " v" + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) +
           " Log File";
}

bool LogFile::Open(const std::string& path) {
    if (!LineFile::Open(path)) return false;
    Write(LogHeaderLine());
    Write("");
    return true;
}

void LogFile::Write(const PrintLine& line) {
    for (const auto& l : line.Lines()) Write(l);
}

bool LogFile::Flush() {
    if (!IsOn()) return true;
    const std::string path = Path();
    const bool written = Close();
    return LineFile::Open(path, true) && written;
}

}  // namespace qw
