// Reading a whole file, safely: only a regular file is read (a link is
// followed to it), so that a device or a pipe named by mistake cannot hold
// the program in a read that never ends or never starts; and at most a
// given number of bytes.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

namespace qw {

enum class FileRead { Ok, Missing, NotAFile, TooLarge, Unreadable };

struct FileContents {
    FileRead status = FileRead::Missing;
    std::string bytes;  // with Ok
    std::string why;    // otherwise: what was wrong, for a message
};

FileContents ReadRegularFile(const std::string& path,
                             std::uintmax_t limit = std::numeric_limits<std::uintmax_t>::max());

}  // namespace qw
