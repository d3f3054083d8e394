#include "platform/file_read.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qw {

FileContents ReadRegularFile(const std::string& path, std::uintmax_t limit) {
    namespace fs = std::filesystem;
    FileContents f;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (path.empty() || status.type() == fs::file_type::not_found) {
        f.why = "it does not exist";
        return f;
    }
    if (status.type() == fs::file_type::directory) {
        f.status = FileRead::NotAFile;
        f.why = "a folder has this name";
        return f;
    }
    if (ec || status.type() != fs::file_type::regular) {
        f.status = FileRead::NotAFile;
        f.why = "it is not a file";
        return f;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > limit) {
        f.status = FileRead::TooLarge;
        f.why = "it is too large";
        return f;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    if (ec || !in || in.bad()) {
        f.status = FileRead::Unreadable;
        f.why = errno != 0 ? std::strerror(errno) : "it cannot be read";
        return f;
    }
    f.status = FileRead::Ok;
    f.bytes = text.str();
    return f;
}

}  // namespace qw
