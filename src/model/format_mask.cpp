#include "model/format_mask.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "model/decimal_digits.h"

namespace qw {
namespace {

// The decimal form both Str and Format lay out.
using namespace decimal_digits;

// "General Number": the Str form without its leading blank and with a zero
// before the decimal point.
std::string GeneralNumberText(const Decimal& d, int maxDigits) {
    return (d.negative ? "-" : "") + GeneralBody(d, maxDigits, true);
}

enum class Region { Integer, Fraction, Exponent };

struct MaskToken {
    enum class Kind { Literal, Digit, Point, ExponentMark } kind;
    Region region = Region::Integer;
    char ch = 0;        // '0' or '#' for a digit, 'E' or 'e' for the mark
    char sign = 0;      // '+' or '-' for the exponent mark
    std::string text;   // for a literal
};

// One section of a mask, split into tokens, with the counts the layout needs.
struct MaskSection {
    std::vector<MaskToken> tokens;
    std::vector<char> integerPlaceholders;  // '0'/'#' from left to right
    int fractionPlaceholders = 0;
    int fractionRequired = 0;  // fraction places up to the last "0"
    int exponentZeros = 0;
    bool hasExponent = false;
    bool grouping = false;
    bool percent = false;
    bool leadingBlank = false;
};

bool IsPlaceholder(char c) { return c == '0' || c == '#'; }

// Splits a mask at the ";" that are not quoted or escaped.
std::vector<std::string_view> SplitSections(std::string_view mask) {
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = mask[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == '\\') {
            ++i;
        } else if (!quoted && c == ';') {
            sections.push_back(mask.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(mask.substr(start));
    return sections;
}

void AddLiteral(MaskSection& section, Region region, std::string_view text) {
    if (text.empty()) return;
    if (!section.tokens.empty() && section.tokens.back().kind == MaskToken::Kind::Literal) {
        section.tokens.back().text += text;
        return;
    }
    MaskToken token{MaskToken::Kind::Literal, region, 0, 0, std::string(text)};
    section.tokens.push_back(std::move(token));
}

void AddDigit(MaskSection& section, Region region, char c) {
    section.tokens.push_back({MaskToken::Kind::Digit, region, c, 0, {}});
    if (region == Region::Integer) {
        section.integerPlaceholders.push_back(c);
    } else if (region == Region::Fraction) {
        ++section.fractionPlaceholders;
        if (c == '0') section.fractionRequired = section.fractionPlaceholders;
    } else if (c == '0') {
        ++section.exponentZeros;
    }
}

MaskSection ParseSection(std::string_view text) {
    MaskSection section;
    section.leadingBlank = !text.empty() && text.front() == ' ';
    Region region = Region::Integer;
    auto at = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            const std::size_t end = std::min(text.find('"', i + 1), text.size());
            AddLiteral(section, region, text.substr(i + 1, end - i - 1));
            i = end;
        } else if (c == '\\') {
            if (i + 1 < text.size()) AddLiteral(section, region, text.substr(++i, 1));
        } else if (IsPlaceholder(c)) {
            AddDigit(section, region, c);
        } else if (c == '.' && region == Region::Integer) {
            section.tokens.push_back({MaskToken::Kind::Point, region, c, 0, {}});
            region = Region::Fraction;
        } else if (c == ',' && region == Region::Integer && !section.integerPlaceholders.empty() &&
                   IsPlaceholder(at(i + 1))) {
            section.grouping = true;
        } else if ((c == 'E' || c == 'e') && region != Region::Exponent &&
                   (at(i + 1) == '+' || at(i + 1) == '-') && IsPlaceholder(at(i + 2))) {
            section.tokens.push_back({MaskToken::Kind::ExponentMark, region, c, at(i + 1), {}});
            section.hasExponent = true;
            region = Region::Exponent;
            ++i;
        } else {
            if (c == '%') section.percent = true;
            AddLiteral(section, region, text.substr(i, 1));
        }
    }
    return section;
}

// The digits a section writes: the integer digits (no leading zeros, empty
// for a zero integer part), the fraction digits (one per placeholder) and
// the exponent of the exponent form.
struct LaidOutDigits {
    std::string integer;
    std::string fraction;
    int exponent = 0;
};

LaidOutDigits LayOutDigits(Decimal d, const MaskSection& section) {
    LaidOutDigits out;
    if (section.percent && !d.IsZero()) d.point += 2;
    int integerDigits = 0;
    if (section.hasExponent) {
        const auto zeros = std::count(section.integerPlaceholders.begin(),
                                      section.integerPlaceholders.end(), '0');
        integerDigits = std::max(1, static_cast<int>(zeros));
        RoundAt(d, integerDigits + section.fractionPlaceholders);
        if (!d.IsZero()) {
            out.exponent = d.point - integerDigits;
            d.point = integerDigits;
        }
    } else {
        RoundAt(d, d.point + section.fractionPlaceholders);
    }
    if (!d.IsZero()) {
        for (int i = 0; i < d.point; ++i) out.integer += d.DigitAt(i);
    }
    for (int i = 0; i < section.fractionPlaceholders; ++i) out.fraction += d.DigitAt(d.point + i);
    return out;
}

// Writes the tokens of a section with the given digits.
class SectionWriter {
public:
    SectionWriter(const MaskSection& section, const LaidOutDigits& digits)
        : section_(section), digits_(digits) {
        const int placeholders = static_cast<int>(section.integerPlaceholders.size());
        const int length = static_cast<int>(digits.integer.size());
        shift_ = length - placeholders;
        integerTotal_ = length;
        for (int i = 0; i < placeholders; ++i)
            if (i + shift_ < 0 && section.integerPlaceholders[static_cast<std::size_t>(i)] == '0')
                ++integerTotal_;
        const std::size_t lastNonZero = digits.fraction.find_last_not_of('0');
        fractionShown_ = lastNonZero == std::string::npos ? 0 : static_cast<int>(lastNonZero) + 1;
        fractionShown_ = std::max(fractionShown_, section.fractionRequired);
    }

    std::string Write() {
        for (const MaskToken& token : section_.tokens) {
            switch (token.kind) {
            case MaskToken::Kind::Literal: out_ += token.text; break;
            case MaskToken::Kind::Point: WritePoint(); break;
            case MaskToken::Kind::ExponentMark: WriteExponentMark(token); break;
            case MaskToken::Kind::Digit: WriteDigit(token); break;
            }
        }
        return out_;
    }

private:
    // Writes one integer digit, with a thousands separator after it when
    // grouping and a multiple of three digits still follows.
    void PutIntegerDigit(char c) {
        out_ += c;
        const int remaining = integerTotal_ - ++integerWritten_;
        if (section_.grouping && remaining > 0 && remaining % 3 == 0) out_ += ',';
    }

    void PutIntegerDigits(int from, int to) {
        for (int i = from; i < to; ++i) PutIntegerDigit(digits_.integer[static_cast<std::size_t>(i)]);
    }

    void WriteDigit(const MaskToken& token) {
        if (token.region == Region::Fraction) {
            if (fractionIndex_ < fractionShown_)
                out_ += digits_.fraction[static_cast<std::size_t>(fractionIndex_)];
            ++fractionIndex_;
        } else if (token.region == Region::Exponent) {
            if (!exponentWritten_) {
                const auto minDigits = static_cast<std::size_t>(std::max(1, section_.exponentZeros));
                out_ += ExponentDigits(digits_.exponent, minDigits);
                exponentWritten_ = true;
            }
        } else {
            WriteIntegerPlaceholder(token.ch);
        }
    }

    // The integer digits are right-aligned on the placeholders; digits
    // beyond the placeholders all go to the first one, and a placeholder
    // without a digit writes "0" for "0" and nothing for "#".
    void WriteIntegerPlaceholder(char placeholder) {
        const int index = integerIndex_++ + shift_;
        if (index < 0) {
            if (placeholder == '0') PutIntegerDigit('0');
        } else if (integerIndex_ == 1) {
            PutIntegerDigits(0, index + 1);
        } else {
            PutIntegerDigits(index, index + 1);
        }
    }

    void WritePoint() {
        if (section_.integerPlaceholders.empty())
            PutIntegerDigits(0, static_cast<int>(digits_.integer.size()));
        out_ += '.';
    }

    void WriteExponentMark(const MaskToken& token) {
        out_ += token.ch;
        if (digits_.exponent < 0)
            out_ += '-';
        else if (token.sign == '+')
            out_ += '+';
    }

    const MaskSection& section_;
    const LaidOutDigits& digits_;
    std::string out_;
    int shift_ = 0;
    int integerTotal_ = 0;
    int integerWritten_ = 0;
    int integerIndex_ = 0;
    int fractionIndex_ = 0;
    int fractionShown_ = 0;
    bool exponentWritten_ = false;
};

std::string WriteSection(const MaskSection& section, const Decimal& magnitude) {
    const LaidOutDigits digits = LayOutDigits(magnitude, section);
    return SectionWriter(section, digits).Write();
}

// A mask split into its sections and parsed.
struct ParsedMask {
    std::vector<std::string> texts;
    std::vector<MaskSection> sections;
};

// The parsed form of a mask, kept for the masks this thread used last: a
// table writes thousands of numbers with the same few masks.
const ParsedMask& ParsedMaskOf(std::string_view mask) {
    thread_local std::vector<std::pair<std::string, ParsedMask>> recent;
    for (const auto& entry : recent)
        if (entry.first == mask) return entry.second;
    if (recent.size() >= 16) recent.clear();
    ParsedMask parsed;
    for (const std::string_view text : SplitSections(mask)) {
        parsed.texts.emplace_back(text);
        parsed.sections.push_back(ParseSection(text));
    }
    recent.emplace_back(std::string(mask), std::move(parsed));
    return recent.back().second;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// The mask a named format stands for; the mask itself otherwise.
std::string_view NamedMask(std::string_view mask) {
    if (EqualsNoCase(mask, "Fixed")) return "0.00";
    if (EqualsNoCase(mask, "Standard")) return "#,##0.00";
    if (EqualsNoCase(mask, "Scientific")) return "0.00E+00";
    return mask;
}

// Formats a decimal value (already reduced to its significant digits).
// `maxDigits` is the significant-digit count of the source type, used by
// "General Number".
std::string FormatDecimal(const Decimal& value, std::string_view mask, int maxDigits) {
    if (mask.empty() || EqualsNoCase(mask, "General Number")) return GeneralNumberText(value, maxDigits);
    const ParsedMask& parsed = ParsedMaskOf(NamedMask(mask));
    const std::vector<std::string>& sections = parsed.texts;
    Decimal magnitude = value;
    magnitude.negative = false;
    if (value.IsZero() && sections.size() >= 3 && !sections[2].empty())
        return WriteSection(parsed.sections[2], magnitude);
    if (value.negative && sections.size() >= 2 && !sections[1].empty())
        return WriteSection(parsed.sections[1], magnitude);
    std::string text = WriteSection(parsed.sections[0], magnitude);
    if (value.negative) {
        // The minus takes the place of the last leading blank of the mask,
        // so that it stays next to the digits: " 0.000E+00" of -5 gives
        // "-5.000E+00", "   ###0.000#" of -5 gives "  -5.000".
        const std::size_t blanks = sections[0].find_first_not_of(' ');
        const std::size_t leading = blanks == std::string::npos ? sections[0].size() : blanks;
        if (leading > 0 && leading <= text.size())
            text[leading - 1] = '-';
        else
            text.insert(0, 1, '-');
    }
    return text;
}

}  // namespace

namespace {

// " #0.00#;-#0.00#" of a value from 0.001 to 10000 in size, as the mask
// engine writes it: the 7-significant-digit decimal of the exact binary
// value rounded half away from zero, rounded again to 3 decimals the same
// way, then a blank or a minus, the integer digits, the point, two
// decimals and the third unless it is 0. The rounding is done on integers:
// |value| = m 2^e exactly, so m 10^p / 2^-e is the value with p decimals.
// False outside that range.
bool GainMaskText(float value, std::string& out) {
    const float size = std::fabs(value);
    if (!(size >= 0.001f && size < 10000.0f)) return false;
    // The decimal exponent: 10^k <= size < 10^(k + 1). (No 32-bit value
    // lies between a power of ten and its nearest double.)
    static constexpr double kPowers[] = {1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3};
    int k = -3;
    while (k < 3 && static_cast<double>(size) >= kPowers[k + 4]) ++k;
    int exponent = 0;
    const float fraction = std::frexp(size, &exponent);
    const auto m = static_cast<unsigned long long>(std::ldexp(fraction, 24));  // exact: 24 bits
    const int shift = 24 - exponent;                                            // size = m / 2^shift
    const int p = 6 - k;                                                        // 7 significant digits
    unsigned long long ten = 1;
    for (int d = 0; d < p; ++d) ten *= 10;
    // m < 2^24 and ten <= 10^9: the product stays below 2^54; the shift
    // is 10 to 33.
    const unsigned long long scaled = m * ten;
    const unsigned long long half = 1ULL << (shift - 1);
    unsigned long long digits7 = scaled >> shift;
    if ((scaled & ((half << 1) - 1)) >= half) ++digits7;
    // Again to 3 decimals, half away from zero.
    unsigned long long drop = 1;
    for (int d = 3; d < p; ++d) drop *= 10;
    unsigned long long thousandths = digits7 / drop;
    if ((digits7 % drop) * 2 >= drop && drop > 1) ++thousandths;
    const unsigned long long whole = thousandths / 1000, decimals = thousandths % 1000;
    out.clear();
    out += value < 0 ? '-' : ' ';
    out += std::to_string(whole);
    out += '.';
    out += static_cast<char>('0' + decimals / 100);
    out += static_cast<char>('0' + decimals / 10 % 10);
    if (decimals % 10 != 0) out += static_cast<char>('0' + decimals % 10);
    return true;
}

}  // namespace

std::string Format(float value, std::string_view mask) {
    std::string text;
    if (mask == " #0.00#;-#0.00#" && GainMaskText(value, text)) return text;
    return FormatThroughMask(value, mask);
}

std::string FormatThroughMask(float value, std::string_view mask) {
    if (!std::isfinite(value)) return NonFiniteText(value, false);
    return FormatDecimal(FromFloat(value), mask, kSingleDigits);
}

std::string Format(double value, std::string_view mask) {
    if (!std::isfinite(value)) return NonFiniteText(value, false);
    return FormatDecimal(FromDouble(value), mask, kDoubleDigits);
}

std::string Format(int value, std::string_view mask) {
    return FormatDecimal(FromInt(value), mask, kDoubleDigits);
}

}  // namespace qw
