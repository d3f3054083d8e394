#include "model/debug_file.h"

namespace qw {

bool DebugFile::Open(const std::string& path) {
    Close();
    auto file = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::trunc);
    if (!*file) return false;
    file_ = std::move(file);
    path_ = path;
    return true;
}

void DebugFile::Close() {
    file_.reset();
    path_.clear();
}

void DebugFile::Write(const std::string& line) {
    if (!file_) return;
    *file_ << line << "\r\n";
    file_->flush();
}

}  // namespace qw
