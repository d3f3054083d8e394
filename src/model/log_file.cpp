#include "model/log_file.h"

#include "version.h"

namespace qw {

std::string LogHeaderLine() {
    return std::string("QUILLWORK ") + " v" + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) +
           " Log File";
}

bool LogFile::Open(const std::string& path) {
    Close();
    auto file = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::trunc);
    if (!*file) return false;
    file_ = std::move(file);
    path_ = path;
    Write(LogHeaderLine());
    Write("");
    return true;
}

void LogFile::Close() {
    file_.reset();
    path_.clear();
}

void LogFile::Write(const std::string& line) {
    if (file_) *file_ << line << "\r\n";
}

void LogFile::Write(const PrintLine& line) {
    for (const auto& l : line.Lines()) Write(l);
}

bool LogFile::Flush() {
    if (!file_) return true;
    file_.reset();
    auto file = std::make_unique<std::ofstream>(path_, std::ios::binary | std::ios::app);
    if (!*file) return false;
    file_ = std::move(file);
    return true;
}

}  // namespace qw
