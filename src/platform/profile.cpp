#include "platform/profile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/file_read.h"
#include "platform/file_replace.h"
#include "platform/text_encoding.h"

namespace qw {

namespace {

std::string_view TrimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool SameText(std::string_view a, std::string_view b) { return UpperAscii(a) == UpperAscii(b); }

// The name of a "[Section]" line, nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view t = TrimBlanks(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    const auto close = t.find(']');
    return TrimBlanks(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

struct KeyLine {
    std::string_view key, value;
};

// The key and value of a "key=value" line; nullopt for sections, comments
// (";") and lines without "=" or without a key.
std::optional<KeyLine> KeyOf(std::string_view line) {
    const std::string_view t = TrimBlanks(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
    const auto eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view key = TrimBlanks(t.substr(0, eq));
    if (key.empty()) return std::nullopt;
    return KeyLine{key, TrimBlanks(t.substr(eq + 1))};
}

std::vector<std::string> SplitFileLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

}  // namespace

Profile::Profile(std::string path) : path_(std::move(path)) {
    const FileContents file = ReadRegularFile(path_);
    if (file.status == FileRead::Missing) return;
    if (file.status != FileRead::Ok) {
        readError_ = file.why;
        return;
    }
    exists_ = true;
    lines_ = SplitFileLines(file.bytes);
}

std::optional<std::string> Profile::Get(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (const auto& line : lines_) {
        if (const auto name = SectionName(line)) {
            inSection = SameText(*name, section);
        } else if (inSection) {
            const auto k = KeyOf(line);
            if (k && SameText(k->key, key)) return std::string(k->value.substr(0, kProfileValueLimit));
        }
    }
    return std::nullopt;
}

void Profile::Set(std::string_view section, std::string_view key, std::string_view value) {
    value = value.substr(0, value.find_first_of("\r\n"));
    const std::string newLine = std::string(key) + "=" + std::string(value);

    bool inSection = false;
    std::ptrdiff_t sectionEnd = -1;  // after the last non-empty line of the first such section
    bool firstSectionDone = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = SectionName(lines_[i])) {
            if (inSection) firstSectionDone = true;
            inSection = SameText(*name, section);
            if (inSection && !firstSectionDone) sectionEnd = static_cast<std::ptrdiff_t>(i) + 1;
            continue;
        }
        if (!inSection) continue;
        const auto k = KeyOf(lines_[i]);
        if (k && SameText(k->key, key)) {
            lines_[i] = newLine;
            return;
        }
        if (!firstSectionDone && !TrimBlanks(lines_[i]).empty()) sectionEnd = static_cast<std::ptrdiff_t>(i) + 1;
    }
    if (sectionEnd >= 0) {
        lines_.insert(lines_.begin() + sectionEnd, newLine);
        return;
    }
    if (!lines_.empty() && !TrimBlanks(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(newLine);
}

std::string Profile::Text() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string Profile::Save() const {
    if (!readError_.empty()) return "the file could not be read: " + readError_;
    if (path_.empty()) return "no file was named";
    return WriteFileReplacing(path_, Text());
}

std::string GetProfileString(const std::string& path, std::string_view section, std::string_view key) {
    return Profile(path).Get(section, key).value_or("");
}

std::string WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                               std::string_view value) {
    Profile profile(path);
    profile.Set(section, key, value);
    return profile.Save();
}

}  // namespace qw
