// The private-profile settings file: "[Section]" lines and "key=value"
// lines below them.
//
// Sections and keys are found without regard to case (ASCII letters);
// blanks and tabs around a key, around "=" and around a value are ignored
// on reading. A value is read up to 255 characters. Writing a key creates
// the file and the section when needed and changes only that key's line:
// every other section, key, comment and empty line stays as it was. The
// whole file is rewritten through a temporary file and a rename, with CR LF
// line ends; the bytes (Windows-1252) are kept as they are. Files with LF
// line ends are read as well.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qw {

inline constexpr std::size_t kProfileValueLimit = 255;

class Profile {
public:
    // Reads the file at path. A missing file is an empty profile.
    explicit Profile(std::string path);

    const std::string& Path() const { return path_; }
    // True when the file existed and was read.
    bool Exists() const { return exists_; }
    // Why the file could not be read ("" when it was read or is missing):
    // a folder of that name, no permission, ... Such a profile is never
    // saved, so that the file is not replaced by one that lost its keys.
    const std::string& ReadError() const { return readError_; }

    // The value of a key (at most 255 characters), nullopt when the
    // section or the key is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Sets a key in memory; the first line break of the value ends it.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    // The file's text as Save writes it.
    std::string Text() const;
    // Writes the file; "" on success, else the reason (the old file is
    // then left as it was).
    std::string Save() const;

private:
    std::string path_;
    bool exists_ = false;
    std::string readError_;
    std::vector<std::string> lines_;
};

// One key read from the file at path; "" when the file, the section or the
// key is missing.
std::string GetProfileString(const std::string& path, std::string_view section, std::string_view key);
// One key written to the file at path; "" on success, else the reason.
std::string WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                               std::string_view value);

}  // namespace qw
