// A text file written one line at a time, each line ended by CR LF, kept
// open between writes: the base of the log and the debug file.
#pragma once

#include <fstream>
#include <memory>
#include <string>

namespace qw {

class LineFile {
public:
    // flushEachLine: every line reaches the disk at once (the debug file,
    // which must survive a crash).
    explicit LineFile(bool flushEachLine = false) : flushEachLine_(flushEachLine) {}

    // Opens the file, emptied or (append) kept; false when it cannot be
    // opened, and the file is then off.
    bool Open(const std::string& path, bool append = false);
    // Closes the file; false when a line written to it did not reach it.
    bool Close();
    bool IsOn() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }
    // Writes a line and its line end; nothing while the file is off.
    void Write(const std::string& line);

private:
    bool flushEachLine_;
    std::unique_ptr<std::ofstream> file_;
    std::string path_;
};

}  // namespace qw
