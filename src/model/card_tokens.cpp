#include "model/card_tokens.h"

namespace qw {

namespace {
std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}
}  // namespace

CardLine::CardLine(std::string_view line) {
    std::string text(line);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    const std::string_view all(text);
    if (all.find(',') != std::string_view::npos) {
        std::size_t start = 0;
        while (true) {
            const std::size_t comma = all.find(',', start);
            tokens_.emplace_back(Trim(all.substr(start, comma == std::string_view::npos ? all.npos : comma - start)));
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
    } else {
        std::size_t i = 0;
        while (i < all.size()) {
            while (i < all.size() && all[i] == ' ') ++i;
            const std::size_t start = i;
            while (i < all.size() && all[i] != ' ') ++i;
            if (i > start) tokens_.emplace_back(all.substr(start, i - start));
        }
    }
}

std::string CardLine::Token(int i) const {
    if (i < 1 || i > TokenCount() || tokens_[i - 1].empty()) return " ";
    return tokens_[i - 1];
}

std::string CardLine::Keyword() const {
    if (tokens_.empty()) return "";
    return UpperAscii(tokens_[0]);
}

bool CardLine::IsComment(std::string_view line) {
    return line.size() >= 2 && line[0] == 'C' && (line[1] == 'M' || line[1] == 'E');
}

bool CardLine::IsCommentCard(std::string_view line) {
    if (IsComment(line)) return true;
    const std::string kw = CardLine(line).Keyword();
    return kw == "CM" || kw == "CE";
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

std::string JoinFields(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += "  ";
        out += fields[i];
    }
    return out;
}

}  // namespace qw
