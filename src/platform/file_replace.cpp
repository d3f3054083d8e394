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
}  // namespace

std::string WriteFileReplacing(const std::string& path, const std::string& text) {
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
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        RemoveQuietly(temp);
        return ec.message();
    }
    return "";
}

}  // namespace qw
