#include "model/line_file.h"

namespace qw {

bool LineFile::Open(const std::string& path, bool append) {
    Close();
    auto file = std::make_unique<std::ofstream>(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    if (!*file) return false;
    file_ = std::move(file);
    path_ = path;
    return true;
}

bool LineFile::Close() {
    const bool written = !file_ || static_cast<bool>(file_->flush());
    file_.reset();
    path_.clear();
    return written;
}

void LineFile::Write(const std::string& line) {
    if (!file_) return;
    *file_ << line << "\r\n";
    if (flushEachLine_) file_->flush();
}

}  // namespace qw
