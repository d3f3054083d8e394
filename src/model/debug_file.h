// The debug file: while debugging is on, the steps of a computation and the
// reader's parse failures are written to it, one line each, CR LF ended.
#pragma once

#include <fstream>
#include <memory>
#include <string>

namespace qw {

class DebugFile {
public:
    // Opens (and empties) the file; false when it cannot be opened.
    bool Open(const std::string& path);
    void Close();
    bool IsOn() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }
    // Writes a line when debugging is on; does nothing otherwise.
    void Write(const std::string& line);

private:
    std::unique_ptr<std::ofstream> file_;
    std::string path_;
};

}  // namespace qw
