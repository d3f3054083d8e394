#include "platform/file_replace.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace qw {

namespace {
std::string TemporaryNameBeside(const std::string& path) {
    std::random_device rd;
    std::ostringstream name;
    name << path << ".tmp" << std::hex << (rd() & 0xffffff);
    return name.str();
}

void RemoveQuietly(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// Writes text into path as it stands.
std::string WriteInPlace(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return std::strerror(errno);
    out << text;
    out.flush();
    if (!out) return std::strerror(errno);
    return "";
}
}  // namespace

std::string WriteFileReplacing(const std::string& named, const std::string& text) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // A link is followed: the file it names is replaced and the link stays.
    std::string path = named;
    if (fs::is_symlink(named, ec))
        if (const fs::path target = fs::canonical(named, ec); !ec) path = target.string();
    // A device or a pipe (/dev/stdout) has no contents to keep, and cannot
    // be renamed over: it is written in place.
    if (const fs::file_status st = fs::status(path, ec); !ec && fs::exists(st) && !fs::is_regular_file(st))
        return WriteInPlace(path, text);
    const std::string temp = TemporaryNameBeside(path);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return std::strerror(errno);
        out << text;
        out.flush();
        if (!out) {
            const std::string why = std::strerror(errno);
            out.close();
            RemoveQuietly(temp);
            return why.empty() ? "the file could not be written" : why;
        }
    }
    fs::rename(temp, path, ec);
    if (ec) {
        RemoveQuietly(temp);
        return ec.message();
    }
    return "";
}

}  // namespace qw
