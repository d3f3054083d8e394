// The log file: reports and listings written in the print layout, one
// line at a time, CR LF ended. It stays open while logging is on.
#pragma once

#include <fstream>
#include <memory>
#include <string>

#include "model/print_layout.h"

namespace qw {

class LogFile {
public:
    // Opens (and empties) the file and writes the header line
    // "QUILLWORK  v1.0 Log File" and an empty line. False when the file
    // cannot be opened (logging then stays off).
    bool Open(const std::string& path);
    // Closes the file; logging is off.
    void Close();
    bool IsOn() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }

    // Writes a line and its line end; nothing while logging is off.
    void Write(const std::string& line);
    // Writes every line of a print-layout line.
    void Write(const PrintLine& line);

    // Closes the file and opens it again for appending, so that what was
    // written is on disk. False when it could not be opened again (logging
    // is then off).
    bool Flush();

private:
    std::unique_ptr<std::ofstream> file_;
    std::string path_;
};

// The header line of a new log.
std::string LogHeaderLine();

}  // namespace qw
