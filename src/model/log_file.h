// The log file: reports and listings written in the print layout, one
// line at a time, CR LF ended. It stays open while logging is on.
#pragma once

#include <string>

#include "model/line_file.h"
#include "model/print_layout.h"

namespace qw {

class LogFile : public LineFile {
public:
    // Opens (and empties) the file and writes the header line
    // "QUILLWORK  v1.0 Log File" and an empty line. False when the file
    // cannot be opened (logging then stays off).
    bool Open(const std::string& path);

    using LineFile::Write;
    // Writes every line of a print-layout line.
    void Write(const PrintLine& line);

    // Closes the file and opens it again for appending, so that what was
    // written is on disk. False when a line did not reach the file (a full
    // disk) or it could not be opened again.
    bool Flush();
};

// The header line of a new log.
std::string LogHeaderLine();

}  // namespace qw
