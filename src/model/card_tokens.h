// Splitting a line of a project file (or NEC deck) into tokens.
//
// Control characters become blanks. A comma anywhere on the line makes the
// comma the separator for the whole line (every comma ends a field, so two
// adjacent commas give an empty field); otherwise runs of blanks separate
// the tokens. Tokens are trimmed. Asking for a token beyond the end of the
// line, or for an empty field, gives a single blank, which reads as 0.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/text_encoding.h"

namespace qw {

class CardLine {
public:
    explicit CardLine(std::string_view line);

    // Token i, 1-based; " " beyond the end or for an empty field.
    std::string Token(int i) const;
    int TokenCount() const { return static_cast<int>(tokens_.size()); }
    // The first token upper-cased; "" for a line without one.
    std::string Keyword() const;
    // A comment line: its first two characters are "CM" or "CE".
    static bool IsComment(std::string_view line);
    // A line the reader takes as a comment: IsComment, or a line whose
    // keyword is "CM" or "CE" in any case.
    static bool IsCommentCard(std::string_view line);

private:
    std::vector<std::string> tokens_;
};

// The fields of a text between separators: "a,,b" gives "a", "", "b"; an
// empty text gives one empty field.
std::vector<std::string> SplitAt(const std::string& text, char separator);

// Fields joined with two blanks between them, as a card is echoed in a
// message.
std::string JoinFields(const std::vector<std::string>& fields);

// Splits a file's bytes into lines: CR LF, CR and LF each end a line.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace qw
