// A temporary folder of its own for one test, removed afterwards.
#pragma once

#include <string>

namespace qw::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // path/name
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

// Whole-file helpers, byte for byte.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace qw::test
